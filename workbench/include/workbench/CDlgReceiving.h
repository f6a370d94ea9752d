#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <memory>

namespace Ui {
class CDlgReceiving;
}

// The progress of a download or an upload, shown modally while the transfer
// runs: what is transferred, a bar over 0..total and the block count. The
// program steps it for every line and ends it when the transfer has ended.
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

    // One more line: the bar moves on (never past its end) and the block
    // count shows the new position.
    void Step();
    int Position() const;
    QString BlockText() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnInitDialog();

    std::unique_ptr<Ui::CDlgReceiving> ui_;
};
