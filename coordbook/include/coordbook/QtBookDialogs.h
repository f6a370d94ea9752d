#pragma once

#include "coordbook/BookDialogs.h"

// The desktop's own file dialogs and message boxes, and small forms for
// coordinates and renumbering.
class QtBookDialogs : public BookDialogs {
public:
    QStringList AskOpenNames(QWidget* parent) override;
    std::optional<SaveChoice> AskSaveName(QWidget* parent, const QString& initial,
                                          BookFormat format) override;
    QMessageBox::StandardButton AskYesNoCancel(QWidget* parent, const QString& text) override;
    bool AskGoOn(QWidget* parent, const QString& text) override;
    void ShowError(QWidget* parent, const QString& text) override;
    std::optional<ExactCoordinates> AskCoordinates(QWidget* parent, const QString& title,
                                                   const QString& prompt,
                                                   const ExactCoordinates& start) override;
    std::optional<RenumberChoice> AskRenumber(QWidget* parent, const QString& first) override;
};
