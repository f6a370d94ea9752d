#pragma once

#include "coordbook/BookFormat.h"
#include "fielddata/ExactCoordinates.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// The questions the editor asks the user. The window uses the real
// dialogs (QtBookDialogs); tests put answers of their own in their place.
class BookDialogs {
public:
    struct SaveChoice {
        QString path;
        BookFormat format;
    };
    struct RenumberChoice {
        QString first;
        int step = 1;
    };

    virtual ~BookDialogs() = default;

    // Empty when cancelled.
    virtual QStringList AskOpenNames(QWidget* parent) = 0;
    virtual std::optional<SaveChoice> AskSaveName(QWidget* parent, const QString& initial,
                                                  BookFormat format) = 0;
    // Yes, No or Cancel.
    virtual QMessageBox::StandardButton AskYesNoCancel(QWidget* parent, const QString& text) = 0;
    // OK (true) or Cancel.
    virtual bool AskGoOn(QWidget* parent, const QString& text) = 0;
    virtual void ShowError(QWidget* parent, const QString& text) = 0;
    // Easting, northing and (optional) height; start fills the fields.
    virtual std::optional<ExactCoordinates> AskCoordinates(QWidget* parent, const QString& title,
                                                           const QString& prompt,
                                                           const ExactCoordinates& start) = 0;
    virtual std::optional<RenumberChoice> AskRenumber(QWidget* parent, const QString& first) = 0;
};
