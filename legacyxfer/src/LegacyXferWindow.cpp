#include "legacyxfer/LegacyXferWindow.h"

#include "legacyxfer/ReceivePage.h"
#include "legacyxfer/SendPage.h"
#include "legacyxfer/UsbPage.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QStatusBar>
#include <QTabWidget>

// Outside any namespace: Q_INIT_RESOURCE declares the global registration function.
static void EnsureResources() {
    // The resources sit in a static library: they register on first use.
    static const bool registered = [] {
        Q_INIT_RESOURCE(legacyxfer);
        return true;
    }();
    (void)registered;
}

LegacyXferWindow::LegacyXferWindow(const QString& presetFile, QWidget* parent)
    : QMainWindow(parent),
      book_(presetFile.isEmpty() ? PresetBook::DefaultPath() : presetFile.toStdString()),
      tabs_(new QTabWidget) {
    std::vector<std::string> skipped;
    book_.Load(skipped);
    const auto ask = [this](const QString& question) { return Ask(question); };
    receive_ = new ReceivePage(book_, ask);
    send_ = new SendPage(book_);
    usb_ = new UsbPage(ask);
    tabs_->addTab(receive_, tr("Receive"));
    tabs_->addTab(send_, tr("Send"));
    tabs_->addTab(usb_, tr("USB memory"));
    setCentralWidget(tabs_);
    setWindowTitle(tr("USB Communication"));
    EnsureResources();
    setWindowIcon(QIcon(QStringLiteral(":/legacyxfer/icons/legacyxfer.svg")));
    resize(760, 560);
    if (!skipped.empty()) {
        statusBar()->showMessage(QString::fromStdString(skipped.front()));
    }
}

void LegacyXferWindow::SetConfirm(std::function<bool(const QString&)> confirm) {
    confirm_ = std::move(confirm);
}

bool LegacyXferWindow::Ask(const QString& question) {
    if (confirm_) {
        return confirm_(question);
    }
    return QMessageBox::question(this, windowTitle(), question) == QMessageBox::Yes;
}

// Closing during a capture ends it as "Stop" does, so what came is kept
// under its name; a send is cancelled and waited for.
void LegacyXferWindow::closeEvent(QCloseEvent* event) {
    if (receive_->Running()) {
        receive_->Stop();
    }
    send_->Cancel();
    event->accept();
}
