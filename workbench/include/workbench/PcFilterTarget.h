#pragma once

#include <QString>

// What the frame's filter box and its "Refresh" need of the PC tree: the tree
// implements this beside CTreeViewExtc, and the frame finds it as pane (1, 1).
class PcFilterTarget {
public:
    virtual ~PcFilterTarget() = default;

    // The pattern file names must match to be listed ("*.*" at start).
    virtual QString Filter() const = 0;
    virtual void SetFilter(const QString& pattern) = 0;
    // Lists the current item again with the filter; nothing when the tree
    // has no current item.
    virtual void RelistCurrentItem() = 0;
    // Lists every expanded folder again.
    virtual void Refresh() = 0;
};
