#pragma once

#include "codebook/BookQuestions.h"

// The codebook window's questions as file dialogs and message boxes.
class QtBookQuestions : public BookQuestions {
public:
    QString AskOpenName(QWidget* parent) override;
    std::optional<SaveChoice> AskSaveName(QWidget* parent, const QString& initial,
                                          CodeFormat format) override;
    QStringList AskJobNames(QWidget* parent) override;
    QMessageBox::StandardButton AskSaveChanges(QWidget* parent, const QString& text) override;
    void Tell(QWidget* parent, const QString& text) override;
    int Run(QDialog& dialog) override;
};
