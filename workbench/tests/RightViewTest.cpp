// Mouse events go through the window, as the window system delivers them, so
// the tree's mouse capture decides who gets them.
#define QTEST_QPA_MOUSE_HANDLING

#include "RecordingTree.h"
#include "TreeChild.h"

#include "workbench/CHeaderStrip.h"
#include "workbench/CRightView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

QStringList Labels(const QTreeWidgetItem* item) {
    QStringList labels;
    for (int i = 0; i < item->childCount(); ++i) {
        labels.append(item->child(i)->text(0));
    }
    return labels;
}

bool IsPlaceholderOnly(const QTreeWidgetItem* item) {
    return item->childCount() == 1 &&
           CRightView::KindOf(item->child(0)) == CRightView::Kind::Placeholder &&
           item->child(0)->text(0).isEmpty();
}

} // namespace

class RightViewTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startShowsMyComputerWithItsVolumesThenTheDesktop();
    void withoutVolumesMyComputerKeepsAPlaceholder();
    void foldersComeFirstThenFilesMatchingTheFilter();
    void newFilterRelistsOnlyTheCurrentItem();
    void emptyFolderShowsAPlaceholderAndIsReadAgainOnExpand();
    void unreadableFolderKeepsItsPlaceholder();
    void pathsOfVolumesFoldersFilesAndDesktopItems();
    void leftClickSetsCurrentItemAndPathLabelRightClickOnlyCurrentItem();
    void currentItemGoneWithItsFolderIsNone();
    void pasteIsOfferedOnlyAfterACopyAndOnlyOnce();
    void dropsNameTheFolderAndAreIgnoredOnMyComputerOrEmptySpace();
    void dragsCloseToARootAreRefused();
    void dragOfAFileReachesTheInstrumentTreeWithItsPath();
    void expandedFoldersFollowTheFileSystem();

private:
    QString Vol(const QString& relative = {}) const;
    void MakeFile(const QString& relative) const;
    QTreeWidgetItem* Volume() const { return pc_->MyComputerItem()->child(0); }
    QPoint Centre(const QTreeWidgetItem* item) const;
    void RightClick(QPoint point);
    // Right-clicks a point; when "Paste File" is offered, chooses it.
    // Returns whether it was offered.
    bool RightClickAndPaste(QPoint point);
    std::vector<RecordingTree::Received> Downloads() const;

    QTemporaryDir temp_;
    std::unique_ptr<CMainFrame> frame_;
    RecordingTree* instrument_ = nullptr;
    CRightView* pc_ = nullptr;
};

void RightViewTest::init() {
    QVERIFY(temp_.isValid());
    QDir root(temp_.path());
    for (const char* folder : {"vol", "vol/sub10", "vol/Sub2", "vol/alpha", "vol/data",
                               "vol/data/deep", "desk", "desk/jobs", "other"}) {
        QVERIFY(root.mkpath(QString::fromLatin1(folder)));
    }
    for (const char* file : {"vol/b.GSI", "vol/a.gsi", "vol/notes.txt", "vol/data/x.gsi",
                             "desk/top.gsi", "desk/jobs/j1.GSI", "other/o.gsi"}) {
        MakeFile(QString::fromLatin1(file));
    }

    PaneFactories factories;
    factories.instrumentTree = [this](QWidget* parent) {
        return instrument_ = new RecordingTree(parent);
    };
    const std::string volume = QFile::encodeName(Vol()).toStdString();
    const std::string other =
        QFile::encodeName(temp_.filePath(QStringLiteral("other"))).toStdString();
    PcPlaces places{temp_.filePath(QStringLiteral("desk")), [volume, other] {
                        return std::vector<std::string>{volume, other};
                    }};
    factories.pcTree = [this, places](QWidget* parent) {
        return pc_ = new CRightView(parent, places);
    };
    frame_ = std::make_unique<CMainFrame>(factories);
    QVERIFY(frame_->Create());
    frame_->InitialUpdate();
    frame_->resize(900, 700);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
}

void RightViewTest::cleanup() {
    frame_.reset();
    QDir(temp_.path()).removeRecursively();
    QDir().mkpath(temp_.path());
}

QString RightViewTest::Vol(const QString& relative) const {
    const QString volume = temp_.filePath(QStringLiteral("vol"));
    return relative.isEmpty() ? volume : volume + QLatin1Char('/') + relative;
}

void RightViewTest::MakeFile(const QString& relative) const {
    QFile file(temp_.filePath(relative));
    QVERIFY(file.open(QIODevice::WriteOnly));
}

QPoint RightViewTest::Centre(const QTreeWidgetItem* item) const {
    pc_->scrollToItem(item);
    return pc_->visualItemRect(item).center();
}

void RightViewTest::RightClick(QPoint point) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, pc_->viewport()->mapToGlobal(point));
    QApplication::sendEvent(pc_->viewport(), &event);
}

bool RightViewTest::RightClickAndPaste(QPoint point) {
    bool offered = false;
    QTimer chooser;
    chooser.setInterval(10);
    connect(&chooser, &QTimer::timeout, this, [&offered, &chooser] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return;
        }
        chooser.stop();
        const QList<QAction*> actions = menu->actions();
        offered = actions.size() == 1 && actions[0]->text() == QStringLiteral("Paste File");
        menu->setActiveAction(actions.value(0));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    chooser.start();
    RightClick(point);
    return offered;
}

std::vector<RecordingTree::Received> RightViewTest::Downloads() const {
    return instrument_->ReceivedOf(UM_DOWNLOAD);
}

void RightViewTest::startShowsMyComputerWithItsVolumesThenTheDesktop() {
    QCOMPARE(pc_->topLevelItemCount(), 2);
    QTreeWidgetItem* computer = pc_->topLevelItem(0);
    QCOMPARE(computer, pc_->MyComputerItem());
    QCOMPARE(computer->text(0), QStringLiteral("My Computer"));
    QVERIFY(computer->isExpanded());
    QCOMPARE(Labels(computer), (QStringList{Vol(), temp_.filePath(QStringLiteral("other"))}));
    for (int i = 0; i < computer->childCount(); ++i) {
        QVERIFY(!computer->child(i)->isExpanded());
        QVERIFY(IsPlaceholderOnly(computer->child(i)));
    }
    QTreeWidgetItem* desktop = pc_->topLevelItem(1);
    QCOMPARE(desktop, pc_->DesktopItem());
    QCOMPARE(desktop->text(0), QStringLiteral("desk"));
    QVERIFY(!desktop->isExpanded());
    QVERIFY(IsPlaceholderOnly(desktop));
    QVERIFY(!computer->icon(0).isNull());
    QVERIFY(!desktop->icon(0).isNull());
    QCOMPARE(pc_->Filter(), QStringLiteral("*.*"));
    QCOMPARE(pc_->CurrentItem(), nullptr);
}

void RightViewTest::withoutVolumesMyComputerKeepsAPlaceholder() {
    CRightView tree(nullptr, PcPlaces{temp_.filePath(QStringLiteral("desk")), nullptr});
    tree.OnInitialUpdate();
    QVERIFY(tree.MyComputerItem()->isExpanded());
    QVERIFY(IsPlaceholderOnly(tree.MyComputerItem()));
    QCOMPARE(tree.ItemFolderPath(tree.MyComputerItem()->child(0)), QString());
    QCOMPARE(tree.topLevelItem(1), tree.DesktopItem());
}

void RightViewTest::foldersComeFirstThenFilesMatchingTheFilter() {
    pc_->expandItem(Volume());
    QCOMPARE(Labels(Volume()),
             (QStringList{"alpha", "data", "Sub2", "sub10", "a.gsi", "b.GSI", "notes.txt"}));
    // Folders are expandable, files are not.
    QVERIFY(IsPlaceholderOnly(Child(Volume(), "data")));
    QCOMPARE(Child(Volume(), "a.gsi")->childCount(), 0);
    QCOMPARE(CRightView::KindOf(Child(Volume(), "a.gsi")), CRightView::Kind::File);
    // One image per kind of item, not one per item.
    QCOMPARE(Child(Volume(), "a.gsi")->icon(0).cacheKey(),
             Child(Volume(), "b.GSI")->icon(0).cacheKey());

    pc_->SetFilter(QStringLiteral("*.GSI"));
    pc_->collapseItem(Volume());
    pc_->expandItem(Volume());
    QCOMPARE(Labels(Volume()), (QStringList{"alpha", "data", "Sub2", "sub10", "a.gsi", "b.GSI"}));
}

void RightViewTest::newFilterRelistsOnlyTheCurrentItem() {
    QTreeWidgetItem* other = pc_->MyComputerItem()->child(1);
    pc_->expandItem(Volume());
    pc_->expandItem(other);
    QTest::mouseClick(pc_->viewport(), Qt::LeftButton, {}, Centre(Volume()));
    QCOMPARE(pc_->CurrentItem(), Volume());

    // The frame's filter box: choosing the same pattern does nothing.
    MakeFile(QStringLiteral("vol/new.txt"));
    frame_->OnFilterChosen(QStringLiteral("*.*"));
    QVERIFY(!Labels(Volume()).contains("new.txt"));

    frame_->OnFilterChosen(QStringLiteral("*.txt"));
    QCOMPARE(pc_->Filter(), QStringLiteral("*.txt"));
    QCOMPARE(Labels(Volume()),
             (QStringList{"alpha", "data", "Sub2", "sub10", "new.txt", "notes.txt"}));
    // Other expanded folders keep their listing until they are expanded again.
    QCOMPARE(Labels(other), QStringList{"o.gsi"});

    // With a file current, its folder is listed again and becomes current.
    QTest::mouseClick(pc_->viewport(), Qt::LeftButton, {}, Centre(Child(Volume(), "notes.txt")));
    frame_->OnFilterChosen(QStringLiteral("*.GSI"));
    QCOMPARE(Labels(Volume()), (QStringList{"alpha", "data", "Sub2", "sub10", "a.gsi", "b.GSI"}));
    QCOMPARE(pc_->CurrentItem(), Volume());
}

void RightViewTest::emptyFolderShowsAPlaceholderAndIsReadAgainOnExpand() {
    pc_->expandItem(Volume());
    QTreeWidgetItem* alpha = Child(Volume(), "alpha");
    pc_->expandItem(alpha);
    QVERIFY(alpha->isExpanded());
    QVERIFY(IsPlaceholderOnly(alpha));
    // A folder whose files all miss the filter looks the same.
    pc_->SetFilter(QStringLiteral("*.HAL"));
    QTreeWidgetItem* data = Child(Volume(), "data");
    pc_->expandItem(data);
    QCOMPARE(Labels(data), QStringList{"deep"});
    pc_->SetFilter(QStringLiteral("*.*"));

    MakeFile(QStringLiteral("vol/alpha/later.gsi"));
    QVERIFY(IsPlaceholderOnly(alpha));
    pc_->collapseItem(alpha);
    QVERIFY(IsPlaceholderOnly(alpha));
    pc_->expandItem(alpha);
    QCOMPARE(Labels(alpha), QStringList{"later.gsi"});

    // Collapsing forgets the whole subtree.
    pc_->collapseItem(Volume());
    QVERIFY(IsPlaceholderOnly(Volume()));
}

void RightViewTest::unreadableFolderKeepsItsPlaceholder() {
    pc_->expandItem(Volume());
    QTreeWidgetItem* sub = Child(Volume(), "Sub2");
    QVERIFY(QDir(Vol("Sub2")).removeRecursively());
    pc_->expandItem(sub);
    QVERIFY(IsPlaceholderOnly(sub));
    QVERIFY(!sub->child(0)->toolTip(0).isEmpty());
    // The tree goes on working.
    pc_->expandItem(Child(Volume(), "data"));
    QCOMPARE(Labels(Child(Volume(), "data")), (QStringList{"deep", "x.gsi"}));
}

void RightViewTest::pathsOfVolumesFoldersFilesAndDesktopItems() {
    pc_->expandItem(Volume());
    QTreeWidgetItem* data = Child(Volume(), "data");
    pc_->expandItem(data);
    QTreeWidgetItem* file = Child(data, "x.gsi");
    pc_->expandItem(pc_->DesktopItem());
    QTreeWidgetItem* jobs = Child(pc_->DesktopItem(), "jobs");
    pc_->expandItem(jobs);
    const QString desk = temp_.filePath(QStringLiteral("desk"));

    QCOMPARE(pc_->ItemFolderPath(Volume()), Vol() + "/");
    QCOMPARE(pc_->ItemFullPath(Volume()), Vol());
    QCOMPARE(pc_->ItemFolderPath(data), Vol("data/"));
    QCOMPARE(pc_->ItemFullPath(data), Vol("data"));
    QCOMPARE(pc_->ItemFolderPath(file), Vol("data/"));
    QCOMPARE(pc_->ItemFullPath(file), Vol("data/x.gsi"));
    QCOMPARE(pc_->ItemFolderPath(pc_->DesktopItem()), desk + "/");
    QCOMPARE(pc_->ItemFullPath(pc_->DesktopItem()), desk);
    QCOMPARE(pc_->ItemFolderPath(jobs), desk + "/jobs/");
    QCOMPARE(pc_->ItemFullPath(Child(jobs, "j1.GSI")), desk + "/jobs/j1.GSI");
    QCOMPARE(pc_->ItemFolderPath(pc_->MyComputerItem()), QString());
    QCOMPARE(pc_->ItemFullPath(pc_->MyComputerItem()), QStringLiteral("My Computer"));
}

void RightViewTest::leftClickSetsCurrentItemAndPathLabelRightClickOnlyCurrentItem() {
    CHeaderStrip* strip = frame_->HeaderStrip(1);
    QTest::mouseClick(pc_->viewport(), Qt::LeftButton, {}, Centre(Volume()));
    QCOMPARE(pc_->CurrentItem(), Volume());
    QCOMPARE(strip->PathLabel(), Vol());
    QCOMPARE(pc_->currentItem(), Volume());

    // "My Computer" shows its label but never becomes current.
    QTest::mouseClick(pc_->viewport(), Qt::LeftButton, {}, Centre(pc_->MyComputerItem()));
    QCOMPARE(pc_->CurrentItem(), Volume());
    QCOMPARE(strip->PathLabel(), QStringLiteral("My Computer"));

    // A right click (a real one, through the window) makes the item current
    // and changes nothing else.
    pc_->setCurrentItem(Volume());
    QTest::mouseClick(pc_->viewport(), Qt::RightButton, {}, Centre(pc_->DesktopItem()));
    QCOMPARE(pc_->CurrentItem(), pc_->DesktopItem());
    QCOMPARE(pc_->currentItem(), Volume());
    QCOMPARE(strip->PathLabel(), QStringLiteral("My Computer"));

    const QPoint empty(20, pc_->viewport()->height() - 10);
    QCOMPARE(pc_->itemAt(empty), nullptr);
    QTest::mouseClick(pc_->viewport(), Qt::LeftButton, {}, empty);
    QCOMPARE(pc_->CurrentItem(), nullptr);
    QCOMPARE(strip->PathLabel(), QString());
    pc_->RelistCurrentItem();
}

void RightViewTest::currentItemGoneWithItsFolderIsNone() {
    pc_->expandItem(Volume());
    QTest::mouseClick(pc_->viewport(), Qt::LeftButton, {}, Centre(Child(Volume(), "a.gsi")));
    QVERIFY(pc_->CurrentItem() != nullptr);
    pc_->collapseItem(Volume());
    QCOMPARE(pc_->CurrentItem(), nullptr);
    pc_->SetFilter(QStringLiteral("*.GSI"));
    pc_->RelistCurrentItem();
    QVERIFY(IsPlaceholderOnly(Volume()));
}

void RightViewTest::pasteIsOfferedOnlyAfterACopyAndOnlyOnce() {
    pc_->expandItem(Volume());
    QTreeWidgetItem* data = Child(Volume(), "data");
    QVERIFY(!RightClickAndPaste(Centre(data)));
    QVERIFY(!pc_->HasCopy());

    TransferRecord copy;
    copy.category = QStringLiteral("JOB");
    copy.source = QStringLiteral("SITE1");
    copy.jobPart = 2;
    pc_->SendUserMessage(UM_COPY_FILE, 0, ToLParam(&copy));
    QVERIFY(pc_->HasCopy());
    // Not on "My Computer", not on empty space.
    QVERIFY(!RightClickAndPaste(Centre(pc_->MyComputerItem())));
    QVERIFY(!RightClickAndPaste(QPoint(20, pc_->viewport()->height() - 10)));
    QVERIFY(Downloads().empty());

    QVERIFY(RightClickAndPaste(Centre(data)));
    QVERIFY(!pc_->HasCopy());
    std::vector<RecordingTree::Received> downloads = Downloads();
    QCOMPARE(downloads.size(), 1u);
    QCOMPARE(downloads[0].record.category, QStringLiteral("JOB"));
    QCOMPARE(downloads[0].record.source, QStringLiteral("SITE1"));
    QCOMPARE(downloads[0].record.jobPart, 2);
    QCOMPARE(downloads[0].record.destination, Vol("data/"));
    QCOMPARE(downloads[0].record.targetItem, data);
    QVERIFY(downloads[0].onOwnThread);

    // The copy is spent.
    QVERIFY(!RightClickAndPaste(Centre(data)));
    QCOMPARE(Downloads().size(), 1u);

    // A paste on a file goes to the file's folder.
    pc_->SendUserMessage(UM_COPY_FILE, 0, ToLParam(&copy));
    QVERIFY(RightClickAndPaste(Centre(Child(Volume(), "b.GSI"))));
    downloads = Downloads();
    QCOMPARE(downloads.size(), 2u);
    QCOMPARE(downloads[1].record.destination, Vol() + "/");
}

void RightViewTest::dropsNameTheFolderAndAreIgnoredOnMyComputerOrEmptySpace() {
    pc_->expandItem(Volume());
    pc_->expandItem(pc_->DesktopItem());
    QTreeWidgetItem* jobs = Child(pc_->DesktopItem(), "jobs");
    QTreeWidgetItem* instrumentEntry = new QTreeWidgetItem(instrument_, QStringList{"SITE1"});
    const auto drop = [this, instrumentEntry](QTreeWidgetItem* target) {
        TransferRecord record;
        record.category = QStringLiteral("JOB");
        record.source = QStringLiteral("SITE1");
        record.sourceItem = instrumentEntry;
        record.targetItem = target;
        pc_->SendUserMessage(UM_DROP_TARGET, 0, ToLParam(&record));
    };
    drop(nullptr);
    drop(pc_->MyComputerItem());
    QVERIFY(Downloads().empty());

    drop(Volume());
    drop(jobs);
    drop(Child(Volume(), "a.gsi"));
    drop(pc_->DesktopItem());
    const std::vector<RecordingTree::Received> downloads = Downloads();
    QCOMPARE(downloads.size(), 4u);
    QCOMPARE(downloads[0].record.destination, Vol() + "/");
    QCOMPARE(downloads[0].record.targetItem, Volume());
    QCOMPARE(downloads[1].record.destination, temp_.filePath(QStringLiteral("desk/jobs/")));
    QCOMPARE(downloads[2].record.destination, Vol() + "/");
    QCOMPARE(downloads[3].record.destination, temp_.filePath(QStringLiteral("desk/")));
    QCOMPARE(downloads[3].record.source, QStringLiteral("SITE1"));

    // A drag within the PC tree moves no PC files.
    TransferRecord inside;
    inside.sourceItem = Child(Volume(), "a.gsi");
    inside.targetItem = jobs;
    pc_->SendUserMessage(UM_DROP_TARGET, 0, ToLParam(&inside));
    QCOMPARE(Downloads().size(), 4u);
}

void RightViewTest::dragsCloseToARootAreRefused() {
    pc_->expandItem(Volume());
    pc_->expandItem(pc_->DesktopItem());
    QTreeWidgetItem* jobs = Child(pc_->DesktopItem(), "jobs");
    pc_->expandItem(jobs);
    QTreeWidgetItem* alpha = Child(Volume(), "alpha");
    pc_->expandItem(alpha);
    const auto source = [this](QTreeWidgetItem* item, QString* path = nullptr) {
        TransferRecord record;
        record.sourceItem = item;
        const LResult answer = pc_->SendUserMessage(UM_DRAG_SOURCE, 0, ToLParam(&record));
        if (path != nullptr) {
            *path = record.source;
        }
        return answer;
    };
    for (QTreeWidgetItem* refused :
         {static_cast<QTreeWidgetItem*>(nullptr), pc_->MyComputerItem(), Volume(),
          pc_->DesktopItem(), jobs, alpha->child(0)}) {
        QCOMPARE(source(refused), LResult{0});
    }
    // The desktop holds files one level below its root: they go as any file.
    QString path;
    QCOMPARE(source(Child(pc_->DesktopItem(), "top.gsi"), &path), LResult{1});
    QCOMPARE(path, temp_.filePath(QStringLiteral("desk/top.gsi")));
    QCOMPARE(source(Child(Volume(), "a.gsi"), &path), LResult{1});
    QCOMPARE(path, Vol("a.gsi"));
    QCOMPARE(source(Child(Volume(), "data"), &path), LResult{1});
    QCOMPARE(path, Vol("data"));
    QCOMPARE(source(Child(jobs, "j1.GSI"), &path), LResult{1});
    QCOMPARE(path, temp_.filePath(QStringLiteral("desk/jobs/j1.GSI")));
}

void RightViewTest::dragOfAFileReachesTheInstrumentTreeWithItsPath() {
    auto* entry = new QTreeWidgetItem(instrument_, QStringList{"SITE1"});
    pc_->expandItem(Volume());
    const auto dragToInstrument = [this, entry](QTreeWidgetItem* item) {
        const QPoint from = Centre(item);
        QTest::mousePress(pc_->viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(pc_->viewport(), from + QPoint(QApplication::startDragDistance() + 5, 2));
        const QPoint to = instrument_->visualItemRect(entry).center();
        QTest::mouseMove(instrument_->viewport(), to);
        QTest::mouseRelease(instrument_->viewport(), Qt::LeftButton, {}, to);
    };
    dragToInstrument(Volume());
    QVERIFY(instrument_->received.empty());

    dragToInstrument(Child(Volume(), "b.GSI"));
    QCOMPARE(instrument_->received.size(), 1u);
    QCOMPARE(instrument_->received[0].message, UM_DROP_TARGET);
    QCOMPARE(instrument_->received[0].record.source, Vol("b.GSI"));
    QCOMPARE(instrument_->received[0].record.targetItem, entry);
}

// Files written, removed and renamed in expanded folders show at once; the
// expanded subfolders and the current item stay as they were.
void RightViewTest::expandedFoldersFollowTheFileSystem() {
    pc_->expandItem(Volume());
    QTreeWidgetItem* data = Child(Volume(), "data");
    pc_->expandItem(data);
    pc_->expandItem(Child(data, "deep"));
    QTest::mouseClick(pc_->viewport(), Qt::LeftButton, {}, Centre(Child(data, "x.gsi")));
    MakeFile(QStringLiteral("vol/new.gsi"));
    MakeFile(QStringLiteral("vol/data/deep/d.gsi"));
    QVERIFY(QFile::remove(Vol("a.gsi")));
    QVERIFY(QFile::rename(Vol("b.GSI"), Vol("c.GSI")));
    QTRY_COMPARE(Labels(Volume()), (QStringList{"alpha", "data", "Sub2", "sub10", "c.GSI",
                                                "new.gsi", "notes.txt"}));
    data = Child(Volume(), "data");
    QVERIFY(data->isExpanded());
    QTRY_COMPARE(Labels(Child(data, "deep")), QStringList{"d.gsi"});
    QCOMPARE(pc_->CurrentItem(), Child(data, "x.gsi"));
    // "Refresh" lists again at once what the expanded folders hold.
    MakeFile(QStringLiteral("vol/later.gsi"));
    pc_->Refresh();
    QVERIFY(Labels(Volume()).contains("later.gsi"));
    QVERIFY(Child(Volume(), "data")->isExpanded());
}

QTEST_MAIN(RightViewTest)
#include "RightViewTest.moc"
