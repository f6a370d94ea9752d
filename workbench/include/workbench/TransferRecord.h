#pragma once

#include <QString>

#include <cstdint>

class QTreeWidgetItem;

// One request passed between the two trees: a drag, a copy for a later
// paste, a move. The items are valid only in the tree they come from.
struct TransferRecord {
    // Instrument-side category label of the entry concerned, such as "JOB".
    QString category;
    // What is transferred: a PC file's full path, or an instrument entry's label.
    QString source;
    // Where it goes: a PC folder path with a final separator, an instrument
    // entry's label, or the typed path of a move.
    QString destination;
    // The dragged or copied item, in the source tree.
    QTreeWidgetItem* sourceItem = nullptr;
    // The item under the cursor at the drop, in the target tree; for a paste,
    // the pasted-on PC item.
    QTreeWidgetItem* targetItem = nullptr;
    // For an instrument "JOB" entry: 1 for its fixed-point part ("F..."), 2 otherwise.
    std::int32_t jobPart = kNoJobPart;

    static constexpr std::int32_t kNoJobPart = -100;
};
