#pragma once

#include <QIcon>

// The icons drawn for stationlink, kept as SVG in the program's resources.
enum class StationlinkIcon {
    Move,         // icon 154, the "Move File" button
    Delete,       // icon 156, a red cross, the "Delete File" button
    PortSettings, // icon 157, the "Port Setting" button
    Application,
};

// The icon rendered at the usual sizes; it needs no image plug-in at run time.
QIcon LoadStationlinkIcon(StationlinkIcon icon);
