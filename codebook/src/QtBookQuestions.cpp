#include "codebook/QtBookQuestions.h"

#include <QDialog>
#include <QFileDialog>

namespace {

const CodeFormat kFormats[] = {CodeFormat::Book, CodeFormat::Gsi16, CodeFormat::Gsi8,
                               CodeFormat::Idex, CodeFormat::Csv};

QString Filter(CodeFormat format) {
    switch (format) {
    case CodeFormat::Book:
        return QObject::tr("Codebook (*.book)");
    case CodeFormat::Csv:
        return QObject::tr("CSV (*.csv)");
    default:
        return QString::fromLatin1(CodeFormats::Title(format)) + QStringLiteral(" (*.crf)");
    }
}

} // namespace

QString QtBookQuestions::AskOpenName(QWidget* parent) {
    return QFileDialog::getOpenFileName(
        parent, QObject::tr("Open Codebook"), QString(),
        QObject::tr("Codebooks and code lists (*.book *.crf *.csv *.gsi *.idex);;All files (*)"));
}

std::optional<BookQuestions::SaveChoice>
QtBookQuestions::AskSaveName(QWidget* parent, const QString& initial, CodeFormat format) {
    QStringList filters;
    for (const CodeFormat each : kFormats) {
        filters << Filter(each);
    }
    QString chosen = Filter(format);
    const QString path =
        QFileDialog::getSaveFileName(parent, QObject::tr("Save Codebook As"), initial,
                                     filters.join(QStringLiteral(";;")), &chosen);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return SaveChoice{path, kFormats[std::max<qsizetype>(0, filters.indexOf(chosen))]};
}

QStringList QtBookQuestions::AskJobNames(QWidget* parent) {
    return QFileDialog::getOpenFileNames(
        parent, QObject::tr("Codes Used in Jobs"), QString(),
        QObject::tr("GSI jobs and point files (*.gsi *.dat);;All files (*)"));
}

QMessageBox::StandardButton QtBookQuestions::AskSaveChanges(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, QObject::tr("Codebook Manager"), text,
                                 QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                 QMessageBox::Save);
}

void QtBookQuestions::Tell(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QObject::tr("Codebook Manager"), text);
}

int QtBookQuestions::Run(QDialog& dialog) {
    return dialog.exec();
}
