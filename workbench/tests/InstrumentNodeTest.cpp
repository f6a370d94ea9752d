#include "workbench/InstrumentNode.h"

#include <QTest>
#include <QTreeWidgetItem>

#include <memory>

// Nodes are known by their item data: a port renamed after its instrument,
// or entries whose labels read like ports or categories, keep their roles.
class InstrumentNodeTest : public QObject {
    Q_OBJECT

private slots:
    void RolesCategoriesEntriesAndPartsComeFromItemData() {
        using Role = InstrumentNode::Role;
        auto root = std::make_unique<QTreeWidgetItem>(QStringList(QStringLiteral("X4 SERIES")));
        InstrumentNode::MarkRoot(root.get());
        auto* port = new QTreeWidgetItem(root.get(), QStringList(QStringLiteral("COM1: X4")));
        InstrumentNode::MarkPort(port, QStringLiteral("COM1"));
        auto* category = new QTreeWidgetItem(port, QStringList(QStringLiteral("JOB")));
        InstrumentNode::MarkListed(category, Role::Category, EntryKind::Job);
        auto* entry = new QTreeWidgetItem(category, QStringList(QStringLiteral("COM9")));
        InstrumentNode::MarkListed(entry, Role::Entry, EntryKind::Job);
        auto* detail = new QTreeWidgetItem(entry, QStringList(QStringLiteral("X4 SERIES")));
        InstrumentNode::MarkListed(detail, Role::Detail, EntryKind::Job);
        InstrumentNode::MarkPart(detail, 1);
        auto* plain = new QTreeWidgetItem(port, QStringList(QStringLiteral("COM2")));

        struct Case {
            const QTreeWidgetItem* node;
            Role role;
            QString port;
            std::optional<EntryKind> category;
            const QTreeWidgetItem* entry;
            std::optional<int> part;
        };
        const Case cases[] = {
            {root.get(), Role::Root, {}, {}, nullptr, {}},
            {port, Role::Port, QStringLiteral("COM1"), {}, nullptr, {}},
            {category, Role::Category, {}, EntryKind::Job, nullptr, {}},
            {entry, Role::Entry, {}, EntryKind::Job, entry, {}},
            {detail, Role::Detail, {}, EntryKind::Job, entry, 1},
            {plain, Role::None, {}, {}, nullptr, {}},
            {nullptr, Role::None, {}, {}, nullptr, {}},
        };
        for (const Case& c : cases) {
            const QString at = c.node != nullptr ? c.node->text(0) : QStringLiteral("null");
            QVERIFY2(InstrumentNode::RoleOf(c.node) == c.role, qPrintable(at));
            QCOMPARE(InstrumentNode::PortName(c.node), c.port);
            QVERIFY2(InstrumentNode::CategoryOf(c.node) == c.category, qPrintable(at));
            QVERIFY2(InstrumentNode::EntryOf(c.node) == c.entry, qPrintable(at));
            QVERIFY2(InstrumentNode::PartOf(c.node) == c.part, qPrintable(at));
        }
    }
};

QTEST_MAIN(InstrumentNodeTest)
#include "InstrumentNodeTest.moc"
