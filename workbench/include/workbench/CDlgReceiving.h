#pragma once

#include "transfer/TransferMeter.h"

#include <QDialog>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class CDlgReceiving;
}

// The progress of a download or an upload, shown modally while the transfer
// runs: what is transferred, a bar over 0..total, the block count, and the
// lines done of the total with the bytes, the speed and the time left. The
// program steps it for every line and ends it when the transfer has ended;
// the display follows a few times a second. "Cancel", Escape and closing the
// dialog end it with a result other than 0: the user's cancel.
class CDlgReceiving : public QDialog {
    Q_OBJECT

public:
    explicit CDlgReceiving(QWidget* parent = nullptr);
    ~CDlgReceiving() override;

    // Shown at every start of the dialog.
    QString caption = QStringLiteral("Receiving...");
    QString fileType;
    QString source;
    QString destination;
    QString block;
    QString totalText;
    std::int32_t total = 0;
    bool showOk = false;
    // The bytes the transfer has moved so far.
    std::function<std::uint64_t()> bytesDone;

    // The lines done so far. The bar (never past its end) and the block
    // count show them at the next refresh.
    void SetDone(std::int32_t lines);
    // Shows the lines, bytes, speed and time left now.
    void Refresh();
    // The instrument announced the transfer's own line count: the bar and
    // the scale run to it from now on, never below the lines done.
    void SetTotal(std::int32_t announced);
    int Position() const;
    QString BlockText() const;
    QString RateText() const;

    static constexpr int kRefreshMs = 250;

protected:
    void showEvent(QShowEvent* event) override;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void ShowScale();
    void OnInitDialog();

    std::unique_ptr<Ui::CDlgReceiving> ui_;
    int steps_ = 0;
    std::optional<TransferMeter> meter_;
    QTimer refresh_;
};
