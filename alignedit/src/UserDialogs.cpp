#include "alignedit/UserDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QRegularExpression>

namespace {
QString Title() {
    return QApplication::applicationName();
}

// "hal file(*.hal)" gives "hal"; a filter without one extension gives "".
QString SuffixOf(const QString& filter) {
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("\\(\\*\\.(\\w+)\\)")).match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}
} // namespace

UserDialogs::SaveChoice QtUserDialogs::AskSaveName(QWidget* parent, const QString& title,
                                                   const QStringList& filters,
                                                   const QString& initialName) {
    QFileDialog dialog(parent, title, initialName, filters.join(QStringLiteral(";;")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The extension is added before the dialog asks about overwriting.
    dialog.setDefaultSuffix(SuffixOf(filters.value(0)));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString& filter) { dialog.setDefaultSuffix(SuffixOf(filter)); });
    if (!initialName.isEmpty()) {
        dialog.selectFile(initialName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return {dialog.selectedFiles().constFirst(),
            static_cast<int>(filters.indexOf(dialog.selectedNameFilter()))};
}

QString QtUserDialogs::AskOpenName(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Open"), QString(),
                                        QStringLiteral("All Files (*)"));
}

void QtUserDialogs::ShowError(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, Title(), text);
}

QMessageBox::StandardButton QtUserDialogs::AskYesNoCancel(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, Title(), text,
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                 QMessageBox::Yes);
}
