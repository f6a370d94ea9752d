#include "RecordingTree.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

// Files dragged from the desktop's file manager onto a tree.
class FileDropTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dropsAreRefusedUntilSwitchedOn();
    void eachDroppedFileBecomesADropTargetMessage();
    void dropOnEmptySpaceHasNoTargetItem();
    void dragsWithoutLocalFilesAreRefused();

private:
    QString MakeFile(const QString& name) const;
    // Enters the tree at a point with the given URLs; true when accepted.
    bool Enter(const QList<QUrl>& urls, QPoint point);
    bool Drop(const QList<QUrl>& urls, QPoint point);
    std::vector<RecordingTree::Received> Drops() const;

    QTemporaryDir temp_;
    std::unique_ptr<RecordingTree> tree_;
    QTreeWidgetItem* entry_ = nullptr;
};

void FileDropTest::init() {
    QVERIFY(temp_.isValid());
    tree_ = std::make_unique<RecordingTree>();
    auto* category = new QTreeWidgetItem(tree_.get(), QStringList{"JOB"});
    entry_ = new QTreeWidgetItem(category, QStringList{"SITE1"});
    tree_->expandAll();
    tree_->resize(300, 300);
    tree_->show();
    QVERIFY(QTest::qWaitForWindowExposed(tree_.get()));
}

void FileDropTest::cleanup() {
    tree_.reset();
}

QString FileDropTest::MakeFile(const QString& name) const {
    QFile file(temp_.filePath(name));
    if (!file.open(QIODevice::WriteOnly)) {
        return {};
    }
    return file.fileName();
}

bool FileDropTest::Enter(const QList<QUrl>& urls, QPoint point) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(point, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(tree_->viewport(), &enter);
    return enter.isAccepted();
}

bool FileDropTest::Drop(const QList<QUrl>& urls, QPoint point) {
    if (!Enter(urls, point)) {
        return false;
    }
    QMimeData data;
    data.setUrls(urls);
    QDragMoveEvent move(point, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(tree_->viewport(), &move);
    QDropEvent drop(point, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(tree_->viewport(), &drop);
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

std::vector<RecordingTree::Received> FileDropTest::Drops() const {
    return tree_->ReceivedOf(UM_DROP_TARGET);
}

void FileDropTest::dropsAreRefusedUntilSwitchedOn() {
    const QList<QUrl> urls{QUrl::fromLocalFile(MakeFile("a.gsi"))};
    const QPoint point = tree_->visualItemRect(entry_).center();
    QVERIFY(!tree_->AcceptsFileDrops());
    QVERIFY(!Drop(urls, point));

    tree_->SetAcceptsFileDrops(true);
    QVERIFY(tree_->acceptDrops());
    tree_->SetAcceptsFileDrops(false);
    QVERIFY(!tree_->acceptDrops());
    QVERIFY(!Drop(urls, point));
    QTest::qWait(20);
    QVERIFY(tree_->received.empty());
}

void FileDropTest::eachDroppedFileBecomesADropTargetMessage() {
    tree_->SetAcceptsFileDrops(true);
    const QString first = MakeFile("job one.gsi");
    const QString second = MakeFile("codes.crf");
    QVERIFY(QDir(temp_.path()).mkdir("folder"));
    const QList<QUrl> urls{QUrl::fromLocalFile(first),
                           QUrl::fromLocalFile(temp_.filePath("folder")),
                           QUrl("https://example.org/x.gsi"), QUrl::fromLocalFile(second)};
    const QPoint point = tree_->visualItemRect(entry_).center();
    QVERIFY(Drop(urls, point));
    // Sent once the drop has been answered.
    QVERIFY(tree_->received.empty());
    QTRY_COMPARE(Drops().size(), 2u);
    const std::vector<RecordingTree::Received> drops = Drops();
    QCOMPARE(drops[0].record.source, first);
    QCOMPARE(drops[1].record.source, second);
    for (const RecordingTree::Received& drop : drops) {
        QCOMPARE(drop.record.targetItem, entry_);
        QCOMPARE(drop.record.sourceItem, nullptr);
        QCOMPARE(drop.wParam, WParam{0});
    }
    QCOMPARE(tree_->DropHighlightItem(), nullptr);
}

void FileDropTest::dropOnEmptySpaceHasNoTargetItem() {
    tree_->SetAcceptsFileDrops(true);
    const QPoint empty(20, tree_->viewport()->height() - 10);
    QVERIFY(Drop({QUrl::fromLocalFile(MakeFile("a.gsi"))}, empty));
    QTRY_COMPARE(Drops().size(), 1u);
    QCOMPARE(Drops()[0].record.targetItem, nullptr);
}

void FileDropTest::dragsWithoutLocalFilesAreRefused() {
    tree_->SetAcceptsFileDrops(true);
    const QPoint point = tree_->visualItemRect(entry_).center();
    QVERIFY(QDir(temp_.path()).mkdir("only"));
    QVERIFY(!Enter({QUrl::fromLocalFile(temp_.filePath("only"))}, point));
    QVERIFY(!Enter({QUrl("https://example.org/x.gsi")}, point));
    QVERIFY(!Enter({QUrl::fromLocalFile(temp_.filePath("missing.gsi"))}, point));
    QVERIFY(!Drop({QUrl::fromLocalFile(temp_.filePath("only"))}, point));
    QTest::qWait(20);
    QVERIFY(tree_->received.empty());
}

QTEST_MAIN(FileDropTest)
#include "FileDropTest.moc"
