#include "coordbook/QtBookDialogs.h"

#include "coordbook/PointCheck.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <array>

namespace {

struct FormatFilter {
    BookFormat format;
    const char* filter;
    const char* suffix;
};

constexpr std::array<FormatFilter, 3> kFilters = {{
    {BookFormat::Gsi16, "GSI-16 job (*.gsi)", "gsi"},
    {BookFormat::Gsi8, "GSI-8 job (*.gsi)", "gsi"},
    {BookFormat::Dat, "Point file (*.dat)", "dat"},
}};

QString Title() {
    return QApplication::applicationDisplayName();
}

QString Text(const FixedDecimal& value) {
    std::string text;
    value.AppendTo(text);
    return QString::fromLatin1(text);
}

// A coordinate field: a number, or empty where that is allowed.
std::optional<std::optional<FixedDecimal>> Read(const QLineEdit& field, bool optional,
                                                std::string& reason) {
    const std::string text = field.text().trimmed().toStdString();
    if (text.empty() && optional) {
        return std::optional<FixedDecimal>();
    }
    const auto number = PointCheck::Number(text, reason);
    if (!number) {
        return std::nullopt;
    }
    return std::optional(number);
}

} // namespace

QStringList QtBookDialogs::AskOpenNames(QWidget* parent) {
    return QFileDialog::getOpenFileNames(
        parent, QObject::tr("Open"), QString(),
        QObject::tr("Coordinate files (*.gsi *.GSI *.dat *.DAT);;All files (*)"));
}

std::optional<BookDialogs::SaveChoice>
QtBookDialogs::AskSaveName(QWidget* parent, const QString& initial, BookFormat format) {
    QStringList filters;
    QString chosen;
    for (const FormatFilter& filter : kFilters) {
        filters << QObject::tr(filter.filter);
        if (filter.format == format) {
            chosen = filters.last();
        }
    }
    QFileDialog dialog(parent, QObject::tr("Save As"), initial, filters.join(";;"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectNameFilter(chosen);
    const auto suffixOf = [&filters](const QString& filter) {
        return QString::fromLatin1(
            kFilters[static_cast<std::size_t>(filters.indexOf(filter))].suffix);
    };
    dialog.setDefaultSuffix(suffixOf(chosen));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const auto index = static_cast<std::size_t>(filters.indexOf(dialog.selectedNameFilter()));
    return SaveChoice{dialog.selectedFiles().constFirst(), kFilters[index].format};
}

QMessageBox::StandardButton QtBookDialogs::AskYesNoCancel(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, Title(), text,
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                 QMessageBox::Yes);
}

bool QtBookDialogs::AskGoOn(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, Title(), text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Cancel) == QMessageBox::Ok;
}

void QtBookDialogs::ShowError(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, Title(), text);
}

std::optional<ExactCoordinates> QtBookDialogs::AskCoordinates(QWidget* parent, const QString& title,
                                                              const QString& prompt,
                                                              const ExactCoordinates& start) {
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto* form = new QFormLayout(&dialog);
    form->addRow(new QLabel(prompt));
    std::array<QLineEdit*, 3> fields = {new QLineEdit(Text(start.east)),
                                        new QLineEdit(Text(start.north)),
                                        new QLineEdit(start.height ? Text(*start.height) : "")};
    form->addRow(QObject::tr("Easting:"), fields[0]);
    form->addRow(QObject::tr("Northing:"), fields[1]);
    form->addRow(QObject::tr("Height:"), fields[2]);
    auto* problem = new QLabel;
    problem->setStyleSheet("color: #b00000");
    form->addRow(problem);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    form->addRow(buttons);
    std::optional<ExactCoordinates> answer;
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        std::string reason;
        const auto east = Read(*fields[0], false, reason);
        const auto north = east ? Read(*fields[1], false, reason) : std::nullopt;
        const auto height = north ? Read(*fields[2], true, reason) : std::nullopt;
        if (!height) {
            problem->setText(QString::fromStdString(reason));
            return;
        }
        answer = ExactCoordinates{**east, **north, *height};
        dialog.accept();
    });
    return dialog.exec() == QDialog::Accepted ? answer : std::nullopt;
}

std::optional<BookDialogs::RenumberChoice> QtBookDialogs::AskRenumber(QWidget* parent,
                                                                      const QString& first) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QObject::tr("Renumber"));
    auto* form = new QFormLayout(&dialog);
    auto* name = new QLineEdit(first);
    auto* step = new QSpinBox;
    step->setRange(1, 1000);
    form->addRow(QObject::tr("First name:"), name);
    form->addRow(QObject::tr("Step:"), step);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return RenumberChoice{name->text(), step->value()};
}
