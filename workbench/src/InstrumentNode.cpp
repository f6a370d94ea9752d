#include "workbench/InstrumentNode.h"

#include <QTreeWidgetItem>

namespace {

constexpr int kRoleData = Qt::UserRole + 1;
constexpr int kCategoryData = Qt::UserRole + 2;
constexpr int kPortData = Qt::UserRole + 3;
constexpr int kPartData = Qt::UserRole + 4;

} // namespace

void InstrumentNode::MarkRoot(QTreeWidgetItem* item) {
    item->setData(0, kRoleData, static_cast<int>(Role::Root));
}

void InstrumentNode::MarkPort(QTreeWidgetItem* item, const QString& name) {
    item->setData(0, kRoleData, static_cast<int>(Role::Port));
    item->setData(0, kPortData, name);
}

void InstrumentNode::MarkListed(QTreeWidgetItem* item, Role role, EntryKind category) {
    item->setData(0, kRoleData, static_cast<int>(role));
    item->setData(0, kCategoryData, static_cast<int>(category));
}

void InstrumentNode::MarkPart(QTreeWidgetItem* item, int part) {
    item->setData(0, kPartData, part);
}

InstrumentNode::Role InstrumentNode::RoleOf(const QTreeWidgetItem* item) {
    if (item == nullptr) {
        return Role::None;
    }
    const QVariant role = item->data(0, kRoleData);
    return role.isValid() ? static_cast<Role>(role.toInt()) : Role::None;
}

QString InstrumentNode::PortName(const QTreeWidgetItem* item) {
    return RoleOf(item) == Role::Port ? item->data(0, kPortData).toString() : QString();
}

std::optional<int> InstrumentNode::PartOf(const QTreeWidgetItem* item) {
    const QVariant part = RoleOf(item) == Role::Detail ? item->data(0, kPartData) : QVariant();
    return part.isValid() ? std::optional<int>(part.toInt()) : std::nullopt;
}

std::optional<EntryKind> InstrumentNode::CategoryOf(const QTreeWidgetItem* item) {
    switch (RoleOf(item)) {
    case Role::Category:
    case Role::Entry:
    case Role::Detail:
        return static_cast<EntryKind>(item->data(0, kCategoryData).toInt());
    default:
        return std::nullopt;
    }
}

QTreeWidgetItem* InstrumentNode::EntryOf(QTreeWidgetItem* item) {
    switch (RoleOf(item)) {
    case Role::Entry:
        return item;
    case Role::Detail:
        return item->parent();
    default:
        return nullptr;
    }
}

const QTreeWidgetItem* InstrumentNode::EntryOf(const QTreeWidgetItem* item) {
    return EntryOf(const_cast<QTreeWidgetItem*>(item));
}

QString InstrumentNode::Path(const QTreeWidgetItem* item) {
    if (item == nullptr || RoleOf(item) == Role::Root) {
        return {};
    }
    if (item->parent() == nullptr) {
        return item->text(0);
    }
    return Path(item->parent()) + QLatin1Char('\\') + item->text(0);
}
