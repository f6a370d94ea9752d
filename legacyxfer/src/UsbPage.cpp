#include "legacyxfer/UsbPage.h"

#include "legacyxfer/PointFileExport.h"
#include "legacyxfer/VerifiedWrite.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kPathRole = Qt::UserRole;

} // namespace

UsbPage::UsbPage(Confirm confirm, QWidget* parent)
    : QWidget(parent), confirm_(std::move(confirm)), tree_(new QTreeWidget), target_(new QLineEdit),
      points_(new QCheckBox(tr("Also a point file (.dat) from each GSI job"))),
      summary_(new QLabel) {
    tree_->setHeaderLabels({tr("Memory stick and files"), tr("Size")});
    tree_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    target_->setText(QDir::homePath());
    auto* refresh = new QPushButton(tr("Refresh"));
    auto* browse = new QPushButton(tr("Browse..."));
    auto* copy = new QPushButton(tr("Copy to PC"));
    auto* targetRow = new QHBoxLayout;
    targetRow->addWidget(new QLabel(tr("Copy to:")));
    targetRow->addWidget(target_, 1);
    targetRow->addWidget(browse);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(refresh);
    buttons->addWidget(copy);
    buttons->addStretch();
    summary_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_, 1);
    layout->addLayout(targetRow);
    layout->addWidget(points_);
    layout->addLayout(buttons);
    layout->addWidget(summary_);
    connect(refresh, &QPushButton::clicked, this, &UsbPage::Refresh);
    connect(copy, &QPushButton::clicked, this, &UsbPage::CopySelected);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString folder =
            QFileDialog::getExistingDirectory(this, tr("Copy to"), target_->text());
        if (!folder.isEmpty()) {
            target_->setText(folder);
        }
    });
    Refresh();
}

void UsbPage::SetPlaces(const VolumePlaces& places) {
    places_ = places;
    Refresh();
}

void UsbPage::SetTarget(const QString& folder) {
    target_->setText(folder);
}

void UsbPage::SetPointFiles(bool on) {
    points_->setChecked(on);
}

void UsbPage::Refresh() {
    tree_->clear();
    const auto volumes = RemovableVolumes::List(places_);
    for (const RemovableVolume& volume : volumes) {
        auto* top = new QTreeWidgetItem(
            tree_, {QString::fromStdString(volume.mountPoint + "  (" + volume.device + ")")});
        for (const std::string& file : RemovableVolumes::FieldFiles(volume.mountPoint)) {
            const QFileInfo info(QString::fromStdString(file));
            auto* item = new QTreeWidgetItem(
                top,
                {QDir(QString::fromStdString(volume.mountPoint)).relativeFilePath(info.filePath()),
                 QString::number(info.size())});
            item->setData(0, kPathRole, info.filePath());
            item->setCheckState(0, Qt::Unchecked);
        }
        top->setExpanded(true);
    }
    summary_->setText(volumes.empty() ? tr("No memory stick is mounted.")
                                      : tr("%1 memory stick(s) mounted.").arg(volumes.size()));
}

void UsbPage::SelectAll() {
    for (QTreeWidgetItemIterator it(tree_); *it != nullptr; ++it) {
        if ((*it)->data(0, kPathRole).isValid()) {
            (*it)->setCheckState(0, Qt::Checked);
        }
    }
}

QStringList UsbPage::Listed() const {
    QStringList files;
    for (QTreeWidgetItemIterator it(tree_); *it != nullptr; ++it) {
        if ((*it)->data(0, kPathRole).isValid()) {
            files << (*it)->data(0, kPathRole).toString();
        }
    }
    return files;
}

void UsbPage::CopySelected() {
    QStringList lines;
    const QDir target(target_->text());
    const auto place = [&](const QString& path, const std::function<bool(bool)>& write) {
        const bool exists = QFileInfo::exists(path);
        if (exists && !confirm_(tr("%1 exists. Replace it?").arg(path))) {
            lines << tr("%1 is kept.").arg(path);
            return false;
        }
        return write(exists);
    };
    for (QTreeWidgetItemIterator it(tree_); *it != nullptr; ++it) {
        if (!(*it)->data(0, kPathRole).isValid() || (*it)->checkState(0) != Qt::Checked) {
            continue;
        }
        const QFileInfo source((*it)->data(0, kPathRole).toString());
        const QString copy = target.filePath(source.fileName());
        const bool copied = place(copy, [&](bool overwrite) {
            const auto result =
                VerifiedWrite::Copy(source.filePath().toStdString(), copy.toStdString(), overwrite);
            lines << QString::fromStdString(result.message);
            return result.status == VerifiedWrite::Status::Written;
        });
        if (!copied || !points_->isChecked() ||
            source.suffix().compare("gsi", Qt::CaseInsensitive) != 0) {
            continue;
        }
        const QString dat = target.filePath(source.completeBaseName() + ".dat");
        place(dat, [&](bool overwrite) {
            const auto points =
                PointFileExport::Write(copy.toStdString(), dat.toStdString(), overwrite);
            lines << QString::fromStdString(points.message);
            return points.written;
        });
    }
    summary_->setText(lines.isEmpty() ? tr("Tick the files to copy.") : lines.join('\n'));
}

QString UsbPage::Summary() const {
    return summary_->text();
}
