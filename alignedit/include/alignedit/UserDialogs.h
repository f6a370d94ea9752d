#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

// The questions the editor asks the user. The frame uses the real dialogs;
// tests put answers of their own in their place.
class UserDialogs {
public:
    struct SaveChoice {
        QString path; // empty when the user cancelled
        int filterIndex = 0;
    };

    virtual ~UserDialogs() = default;

    // A file-save dialog that asks before overwriting and hides the
    // read-only box; filters in dialog form ("hal file(*.hal)").
    virtual SaveChoice AskSaveName(QWidget* parent, const QString& title,
                                   const QStringList& filters, const QString& initialName) = 0;
    // Empty when cancelled.
    virtual QString AskOpenName(QWidget* parent) = 0;
    virtual void ShowError(QWidget* parent, const QString& text) = 0;
    // Yes, No or Cancel.
    virtual QMessageBox::StandardButton AskYesNoCancel(QWidget* parent, const QString& text) = 0;
};

// The desktop's own dialogs and message boxes.
class QtUserDialogs : public UserDialogs {
public:
    SaveChoice AskSaveName(QWidget* parent, const QString& title, const QStringList& filters,
                           const QString& initialName) override;
    QString AskOpenName(QWidget* parent) override;
    void ShowError(QWidget* parent, const QString& text) override;
    QMessageBox::StandardButton AskYesNoCancel(QWidget* parent, const QString& text) override;
};
