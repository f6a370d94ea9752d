#include "workbench/LeftViewPortSettings.h"

#include "sharedwidgets/CFrameStatusBar.h"
#include "workbench/CDlgComSetting.h"
#include "workbench/CLeftView.h"
#include "workbench/CMainFrame.h"
#include "workbench/InstrumentNode.h"
#include "workbench/WideText.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

void LeftViewPortSettings::AfterConnect(const TransferMonitor::Outcome& outcome) {
    if (portCheck_) {
        ReportPortCheck(outcome);
    }
}

void LeftViewPortSettings::OnPortSettings() {
    QStringList names;
    QMap<QString, QString> descriptions;
    QMap<QString, ComSettingChoice> stored;
    for (const PortList::Port& port : view_.ports_.Ports()) {
        const QString name = FromWide(port.settings.portName);
        names << name;
        descriptions.insert(name,
                            QString::fromStdString(port.deviceFile + " - " + port.description));
        if (const auto held = view_.ports_.StoredChoice(port.settings.portName)) {
            stored.insert(name, {name,
                                 {},
                                 FromWide(held->baudRate),
                                 FromWide(held->parity),
                                 FromWide(held->stopBits),
                                 FromWide(held->dataBits),
                                 {}});
        }
    }
    CDlgComSetting dialog(&view_);
    dialog.SetPortNames(names);
    const QTreeWidgetItem* clicked = view_.LastClickedItem();
    if (view_.IsPortNode(clicked)) {
        dialog.SetPreselectedPort(InstrumentNode::PortName(clicked));
    }
    dialog.SetPortDescriptions(descriptions);
    dialog.SetStoredChoices(stored);
    if (view_.ExecDialog(dialog) != QDialog::Accepted) {
        return;
    }
    const ComSettingChoice& c = dialog.Choice();
    std::optional<PortChoice> before;
    if (const PortList::Port* held = view_.ports_.Find(ToWide(c.port))) {
        const PortSettings& s = held->settings;
        before = PortChoice{s.portName, s.baudRate, s.parity, s.stopBits, s.dataBits};
    }
    view_.ports_.ApplyChoice({ToWide(c.port), ToWide(c.baudRate), ToWide(c.parity),
                              ToWide(c.stopBits), ToWide(c.dataBits)});
    ApplyToOpenPort(c.port, before);
}

// New settings of the connected port take effect at once: the port is
// opened again with them and the lists are read again, which shows whether
// the instrument answers at them. While a transfer runs that
// would cut it off, so the user is told they come with the next connect.
void LeftViewPortSettings::ApplyToOpenPort(const QString& port,
                                           const std::optional<PortChoice>& before) {
    const QString connected = view_.savedPortName_;
    if (!view_.IsConnected() || port != connected) {
        return;
    }
    if (view_.StillRunning()) {
        view_.ShowMessage(
            QStringLiteral("The new settings of %1 apply at its next connect: a transfer "
                           "is running.")
                .arg(port));
        return;
    }
    const PortList::Port* record = view_.ports_.Find(ToWide(port));
    view_.session_->Close();
    view_.TakeSessionNews();
    if (record == nullptr || !view_.portNodes_.Open(*record)) {
        const QString why = QString::fromStdString(view_.session_->LastPortError());
        view_.FoldConnectedPort();
        view_.ShowMessage(why);
        return;
    }
    if (view_.ReadListsAgain()) {
        portCheck_ = before;
    }
}

void LeftViewPortSettings::ReportPortCheck(const TransferMonitor::Outcome& outcome) {
    const PortChoice before = *std::exchange(portCheck_, std::nullopt);
    const PortList::Port* record = view_.ports_.Find(before.port);
    const QString port = FromWide(before.port);
    const QString baud = record != nullptr ? FromWide(record->settings.baudRate) : QString();
    if (outcome.ending == TransferMonitor::Ending::Done) {
        if (const CMainFrame* frame = CMainFrame::Of(&view_); frame && frame->StatusBar()) {
            frame->StatusBar()->showMessage(
                QStringLiteral("%1: the instrument answered at %2 baud").arg(port, baud));
        }
        return;
    }
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(),
                    QStringLiteral("The instrument did not answer on %1 at %2 baud.\n\nGo back "
                                   "to the earlier settings (%3 baud)? Then open %1 again.")
                        .arg(port, baud, FromWide(before.baudRate)),
                    QMessageBox::Yes | QMessageBox::No, &view_);
    box.setDefaultButton(QMessageBox::Yes);
    view_.ExecDialog(box);
    if (box.clickedButton() == box.button(QMessageBox::Yes)) {
        view_.ports_.ApplyChoice(before);
    }
}
