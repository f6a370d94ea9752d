#pragma once

#include <QString>

// What the frame's "Traffic Log" switch and the --log start-up option need
// of the instrument tree: the tree implements this beside CTreeViewExtc, and
// the frame finds it as pane (1, 0).
class TrafficLogTarget {
public:
    virtual ~TrafficLogTarget() = default;

    // Every byte sent and received from now on goes to the file (truncated);
    // false, with error set, when it cannot be written.
    virtual bool StartTrafficLog(const QString& path, QString& error) = 0;
    virtual void StopTrafficLog() = 0;
};
