#pragma once

#include "codebook/CodeFormat.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <optional>

class QDialog;
class QWidget;

// The questions the codebook window asks. The window uses the real dialogs
// (QtBookQuestions); tests put answers of their own in their place.
class BookQuestions {
public:
    struct SaveChoice {
        QString path;
        CodeFormat format;
    };

    virtual ~BookQuestions() = default;

    // Empty when cancelled.
    virtual QString AskOpenName(QWidget* parent) = 0;
    virtual std::optional<SaveChoice> AskSaveName(QWidget* parent, const QString& initial,
                                                  CodeFormat format) = 0;
    virtual QStringList AskJobNames(QWidget* parent) = 0;
    // Save, Discard or Cancel.
    virtual QMessageBox::StandardButton AskSaveChanges(QWidget* parent, const QString& text) = 0;
    virtual void Tell(QWidget* parent, const QString& text) = 0;
    // Runs a dialog modally; QDialog::Accepted or Rejected.
    virtual int Run(QDialog& dialog) = 0;
};
