#pragma once

#include "legacyxfer/PresetBook.h"

#include <QMainWindow>

class QTabWidget;
class ReceivePage;
class SendPage;
class UsbPage;

// "USB Communication": receive from, send to and copy from instruments
// that only send and receive, one page each.
class LegacyXferWindow : public QMainWindow {
    Q_OBJECT
public:
    // presetFile: where presets and the last choice per port are kept.
    explicit LegacyXferWindow(const QString& presetFile = QString(), QWidget* parent = nullptr);

    ReceivePage& Receive() { return *receive_; }
    SendPage& Send() { return *send_; }
    UsbPage& Usb() { return *usb_; }
    QTabWidget& Tabs() { return *tabs_; }

    // Replaces the question asked before a file is replaced (tests answer it).
    void SetConfirm(std::function<bool(const QString&)> confirm);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool Ask(const QString& question);

    PresetBook book_;
    std::function<bool(const QString&)> confirm_;
    QTabWidget* tabs_;
    ReceivePage* receive_;
    SendPage* send_;
    UsbPage* usb_;
};
