#pragma once

#include "catalogue/EntryKind.h"

#include <QString>

#include <optional>

class QTreeWidgetItem;

// What a node of the instrument tree stands for, carried as its item data:
// the tree's nodes are found by what they are, never by their depth or
// their text (a port node's text becomes the instrument's name once it is
// connected; entry labels may read like anything).
class InstrumentNode {
public:
    enum class Role { None, Root, Port, Category, Entry, Detail };

    static void MarkRoot(QTreeWidgetItem* item);
    // name: the port's own name ("COM1"), whatever the node's text shows.
    static void MarkPort(QTreeWidgetItem* item, const QString& name);
    // A category folder, an entry of it, or a detail node of an entry.
    static void MarkListed(QTreeWidgetItem* item, Role role, EntryKind category);
    // The job part (DownloadPlan::JobPartOf) a job's detail node stands for.
    static void MarkPart(QTreeWidgetItem* item, int part);

    static Role RoleOf(const QTreeWidgetItem* item);
    static QString PortName(const QTreeWidgetItem* item);
    // The job part of a detail node; none for the others.
    static std::optional<int> PartOf(const QTreeWidgetItem* item);
    // The category of a category, entry or detail node; none for the others.
    static std::optional<EntryKind> CategoryOf(const QTreeWidgetItem* item);
    // The entry node of an entry or detail node; null for the others.
    static QTreeWidgetItem* EntryOf(QTreeWidgetItem* item);
    static const QTreeWidgetItem* EntryOf(const QTreeWidgetItem* item);
    // "\COM1\JOB\<label>": the node's path as the header strip shows it;
    // empty for the root.
    static QString Path(const QTreeWidgetItem* item);
};
