#include "workbench/WindowQuestions.h"

#include "workbench/CLeftView.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <filesystem>

namespace {

QString FileName(const std::string& path) {
    return QString::fromStdString(std::filesystem::path(path).filename().string());
}

} // namespace

SessionQuestions::ExistingFile WindowQuestions::AskExistingFile(const std::string& path,
                                                                const std::string& keepBothPath) {
    const QString folder =
        QString::fromStdString(std::filesystem::path(path).parent_path().string());
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(),
                    QStringLiteral("\"%1\" already exists in %2.\n\nReplace it, or keep both and "
                                   "save the download as \"%3\"?")
                        .arg(FileName(path), folder, FileName(keepBothPath)),
                    QMessageBox::NoButton, &view_);
    QPushButton* replace = box.addButton(QStringLiteral("Replace"), QMessageBox::DestructiveRole);
    QPushButton* keep = box.addButton(QStringLiteral("Keep Both"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(keep);
    view_.ExecDialog(box);
    if (box.clickedButton() == keep) {
        return ExistingFile::KeepBoth;
    }
    declined_ = box.clickedButton() != replace;
    return declined_ ? ExistingFile::Cancel : ExistingFile::Replace;
}

bool WindowQuestions::AskReplaceInstrumentData(const std::string& notice) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(),
                    QString::fromStdString(notice) + QStringLiteral(". Replace them?"),
                    QMessageBox::Yes | QMessageBox::No, &view_);
    box.setDefaultButton(QMessageBox::No);
    view_.ExecDialog(box);
    declined_ = box.clickedButton() != box.button(QMessageBox::Yes);
    return !declined_;
}

bool WindowQuestions::AskStopAndDisconnect() {
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(),
                    QStringLiteral("A transfer is running: stop it and disconnect?"),
                    QMessageBox::Yes | QMessageBox::No, &view_);
    box.setDefaultButton(QMessageBox::No);
    view_.ExecDialog(box);
    return box.clickedButton() == box.button(QMessageBox::Yes);
}
