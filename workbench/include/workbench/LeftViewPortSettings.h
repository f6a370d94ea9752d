#pragma once

#include "catalogue/TransferMonitor.h"
#include "protocol/PortChoice.h"

#include <QString>

#include <optional>

class CLeftView;

// "Port Set": the settings dialog of the ports, and on the connected port
// the check whether the instrument answers at the new settings.
class LeftViewPortSettings {
public:
    explicit LeftViewPortSettings(CLeftView& view) : view_(view) {}

    void OnPortSettings();
    // A connect has ended: when it checked new settings, says how it went.
    void AfterConnect(const TransferMonitor::Outcome& outcome);

private:
    void ApplyToOpenPort(const QString& port, const std::optional<PortChoice>& before);
    void ReportPortCheck(const TransferMonitor::Outcome& outcome);

    CLeftView& view_;
    // The settings to go back to while the instrument is asked at new ones.
    std::optional<PortChoice> portCheck_;
};
