#pragma once

#include <QIcon>

// The icons drawn for stationlink, kept as SVG in the program's resources.
enum class StationlinkIcon {
    Move,         // icon 154, the "Move File" button
    Delete,       // icon 156, a red cross, the "Delete File" button
    PortSettings, // icon 157, the "Port Setting" button
    Application,
    PortClosed, // the instrument tree's port node, not connected (bitmap 32773)
    PortOpen,   // the connected port node (bitmap 32774)
    Entry,      // detail nodes and format leaves (bitmap 139)
};

// The icon rendered at the usual sizes; it needs no image plug-in at run time.
QIcon LoadStationlinkIcon(StationlinkIcon icon);

// A tree item's picture with a picture of its own for the selected state
// (the tree control's image and selected image), taken from selected in
// selectedState (On: a folder's open-state picture), at the usual sizes.
QIcon TwoStateIcon(const QIcon& normal, const QIcon& selected,
                   QIcon::State selectedState = QIcon::Off);
