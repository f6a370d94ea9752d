#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <functional>

class QMenu;
class QWidget;

// A user's hand for tests of the real windows: what to do with each popup
// menu and modal dialog the program opens, done with mouse and key events
// on the widgets as they show. Steps are taken in order; a message box that
// comes without a step of its own is read (its text kept) and closed with
// its default button.
class UserHand : public QObject {
    Q_OBJECT

public:
    using Step = std::function<void(QWidget*)>;

    UserHand();

    // The next popup menu: click the item with this text.
    void ChooseFromMenu(const QString& item);
    // The next modal dialog: act on it (the step clicks what ends it).
    void OnDialog(Step step);
    // The next modal dialog: click its button with this text.
    void ClickInDialog(const QString& button);

    // The texts of the message boxes read so far.
    QStringList messages;
    // Steps still waiting for their menu or dialog.
    std::size_t Pending() const { return steps_.size(); }

    static void ClickButton(QWidget* dialog, const QString& text);
    static void ChooseInCombo(QWidget* dialog, const char* comboName, const QString& text);

private:
    struct Waiting {
        bool menu;
        Step step;
    };
    void Look();

    std::deque<Waiting> steps_;
    QTimer look_;
    // The menu or dialog a step has acted on while it is still open.
    QPointer<QWidget> lastHandled_;
};
