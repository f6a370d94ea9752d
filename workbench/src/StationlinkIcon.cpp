#include "workbench/StationlinkIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QSvgRenderer>

namespace {
QString ResourcePath(StationlinkIcon icon) {
    switch (icon) {
    case StationlinkIcon::Move:
        return QStringLiteral(":/stationlink/icons/icon154-move.svg");
    case StationlinkIcon::Delete:
        return QStringLiteral(":/stationlink/icons/icon156-delete.svg");
    case StationlinkIcon::PortSettings:
        return QStringLiteral(":/stationlink/icons/icon157-port.svg");
    case StationlinkIcon::PortClosed:
        return QStringLiteral(":/stationlink/icons/port-closed.svg");
    case StationlinkIcon::PortOpen:
        return QStringLiteral(":/stationlink/icons/port-open.svg");
    case StationlinkIcon::Entry:
        return QStringLiteral(":/stationlink/icons/entry.svg");
    case StationlinkIcon::Application:
        break;
    }
    return QStringLiteral(":/stationlink/icons/stationlink.svg");
}
} // namespace

// Outside any namespace: Q_INIT_RESOURCE declares the global registration function.
static void EnsureResources() {
    // The resources sit in a static library: they register on first use.
    static const bool registered = [] {
        Q_INIT_RESOURCE(stationlink);
        return true;
    }();
    (void)registered;
}

QIcon LoadStationlinkIcon(StationlinkIcon icon) {
    EnsureResources();
    QSvgRenderer renderer(ResourcePath(icon));
    QIcon result;
    if (!renderer.isValid()) {
        return result;
    }
    for (const int size : {16, 20, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        result.addPixmap(pixmap);
    }
    return result;
}

QIcon TwoStateIcon(const QIcon& normal, const QIcon& selected, QIcon::State selectedState) {
    QIcon icon;
    for (const int size : {16, 24, 32}) {
        icon.addPixmap(normal.pixmap(size, size), QIcon::Normal);
        icon.addPixmap(selected.pixmap(QSize(size, size), QIcon::Normal, selectedState),
                       QIcon::Selected);
    }
    return icon;
}
