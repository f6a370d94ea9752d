#include "RecordingTree.h"

#include "sharedwidgets/CFrameStatusBar.h"
#include "testsupport/ActiveWindow.h"
#include "workbench/CAboutDlg.h"
#include "workbench/CDialogBar.h"
#include "workbench/CHeaderStrip.h"
#include "workbench/CMainFrame.h"
#include "workbench/MySplitterWnd.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <memory>

class FrameTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowTextsMenusAndBars();
    void headerRowStaysTwentyPixelsHigh();
    void commandsReachTheInstrumentTree_data();
    void commandsReachTheInstrumentTree();
    void filterBoxStartsOnAllFilesWithoutNotice();
    void choosingFromTheListSetsTheFilterAndRelists();
    void choosingTheCurrentPatternChangesNothing();
    void typedPatternsDoNothing();
    void patternWithoutCurrentItemIsOnlyStored();
    void viewsSetTheirPathLabelThroughTheFrame();
    void functionKeysMoveBetweenPanes();
    void statusBarToggles();
    void aboutBox();
    void failedPaneFailsCreation();

private:
    QComboBox* FilterBox() const { return frame_->DialogBar()->FilterBox(); }
    QAction* Action(const char* name) const { return frame_->findChild<QAction*>(name); }
    static QStringList MenuTexts(const QMenu* menu);

    std::unique_ptr<CMainFrame> frame_;
    RecordingTree* instrument_ = nullptr;
    RecordingPcTree* pc_ = nullptr;
};

void FrameTest::init() {
    frame_ = MakeRecordingFrame(instrument_, pc_);
    QVERIFY(frame_ != nullptr);
    frame_->InitialUpdate();
    frame_->resize(1000, 700);
    frame_->show();
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
}

void FrameTest::cleanup() {
    frame_.reset();
}

QStringList FrameTest::MenuTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return texts;
}

void FrameTest::windowTextsMenusAndBars() {
    QCOMPARE(frame_->windowTitle(), QStringLiteral("Velmor Data Exchange Manager"));
    QCOMPARE(instrument_->initialUpdates, 1);
    QCOMPARE(pc_->initialUpdates, 1);
    QCOMPARE(frame_->Pane(1, 0), instrument_);
    QCOMPARE(frame_->Pane(1, 1), pc_);
    QCOMPARE(frame_->HeaderStrip(0)->PathLabel(), QStringLiteral("COM"));
    QCOMPARE(frame_->HeaderStrip(1)->PathLabel(), QStringLiteral("PC"));
    QCOMPARE(frame_->HeaderStrip(0)->count(), 0);

    QStringList menus;
    for (const QAction* action : frame_->menuBar()->actions()) {
        menus << action->text();
    }
    QCOMPARE(menus, (QStringList{"&File", "&View", "&Options", "&Help"}));
    const auto menu = [this](const char* name) {
        return MenuTexts(frame_->findChild<QMenu*>(name));
    };
    QCOMPARE(menu("menuFile"), (QStringList{"&Move", "&Delete", "-", "&Rename", "-", "E&xit"}));
    QCOMPARE(menu("menuView"), (QStringList{"&Statusbar", "&Refresh"}));
    QCOMPARE(menu("menuOptions"),
             (QStringList{"&File Info", "-", "&Port Setting", "-", "Traffic &Log..."}));
    QCOMPARE(menu("menuHelp"), (QStringList{"&About"}));
    QVERIFY(!Action("actionFileInfo")->isEnabled());
    Action("actionFileInfo")->trigger();
    QVERIFY(instrument_->received.empty());

    for (QAbstractButton* button : frame_->DialogBar()->CommandButtons()) {
        QVERIFY(!button->icon().isNull());
        QVERIFY(button->text().isEmpty());
    }
    QCOMPARE(frame_->DialogBar()->findChild<QLabel*>("filterLabel")->text(),
             QStringLiteral("Filter"));
    QCOMPARE(frame_->StatusBar()->IdleText(), QStringLiteral("Ready"));
    // A menu item's prompt shows in the status bar.
    Action("actionDelete")->showStatusText(frame_.get());
    QCOMPARE(frame_->StatusBar()->currentMessage(), Action("actionDelete")->statusTip());
}

void FrameTest::headerRowStaysTwentyPixelsHigh() {
    for (const QSize size :
         {QSize(1000, 700), QSize(400, 250), QSize(1600, 1100), QSize(640, 480)}) {
        frame_->resize(size);
        QCoreApplication::processEvents();
        const int height = frame_->Splitter()->height();
        for (int column = 0; column < MySplitterWnd::kColumns; ++column) {
            QCOMPARE(frame_->Pane(0, column)->height(), 20);
            QCOMPARE(frame_->Pane(1, column)->y(), 20 + MySplitterWnd::kBarSize);
            QCOMPARE(frame_->Pane(1, column)->height(), height - 20 - MySplitterWnd::kBarSize);
        }
    }
}

void FrameTest::commandsReachTheInstrumentTree_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("message");
    QTest::newRow("&Move") << "actionMove" << int(UM_MOVE_FILE);
    QTest::newRow("&Rename, the same command") << "actionRename" << int(UM_MOVE_FILE);
    QTest::newRow("&Delete") << "actionDelete" << int(UM_DELETE_FILE);
    QTest::newRow("&Port Setting") << "actionPortSetting" << int(UM_PORT_SETTINGS);
    QTest::newRow("button 1001") << "moveButton" << int(UM_MOVE_FILE);
    QTest::newRow("button 32771") << "deleteButton" << int(UM_DELETE_FILE);
    QTest::newRow("button 1006") << "portButton" << int(UM_PORT_SETTINGS);
}

void FrameTest::commandsReachTheInstrumentTree() {
    QFETCH(QString, control);
    QFETCH(int, message);
    if (auto* button = frame_->findChild<QAbstractButton*>(control)) {
        QTest::mouseClick(button, Qt::LeftButton);
    } else {
        Action(control.toLatin1().constData())->trigger();
    }
    QCOMPARE(instrument_->received.size(), 1u);
    QCOMPARE(int(instrument_->received[0].message), message);
    QCOMPARE(instrument_->received[0].wParam, WParam{0});
    QCOMPARE(instrument_->received[0].lParam, LParam{0});
    QVERIFY(pc_->received.empty());
}

void FrameTest::filterBoxStartsOnAllFilesWithoutNotice() {
    QStringList entries;
    for (int i = 0; i < FilterBox()->count(); ++i) {
        entries << FilterBox()->itemText(i);
    }
    QCOMPARE(entries, (QStringList{"*.*", "*.GSI", "*.HAL", "*.VAL"}));
    QCOMPARE(FilterBox()->currentText(), QStringLiteral("*.*"));
    QVERIFY(FilterBox()->isEditable());
    QCOMPARE(pc_->filter, QStringLiteral("*.*"));
    QCOMPARE(pc_->relisted, 0);
}

void FrameTest::choosingFromTheListSetsTheFilterAndRelists() {
    pc_->hasCurrentItem = true;
    // From the drop-down list with the mouse.
    FilterBox()->showPopup();
    QAbstractItemView* list = FilterBox()->view();
    QTRY_VERIFY(list->isVisible());
    const QRect hal = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, hal.center());
    QCOMPARE(pc_->filter, QStringLiteral("*.HAL"));
    QCOMPARE(pc_->relisted, 1);

    // With the arrow keys, which move through the list.
    FilterBox()->setFocus();
    QTest::keyClick(FilterBox(), Qt::Key_Down);
    QCOMPARE(pc_->filter, QStringLiteral("*.VAL"));
    QCOMPARE(pc_->relisted, 2);
}

void FrameTest::choosingTheCurrentPatternChangesNothing() {
    pc_->hasCurrentItem = true;
    pc_->filter = QStringLiteral("*.GSI");
    FilterBox()->setCurrentIndex(2);
    emit FilterBox()->activated(1);
    QCOMPARE(pc_->relisted, 0);
    // The comparison is exact: another case is another pattern.
    pc_->filter = QStringLiteral("*.gsi");
    emit FilterBox()->activated(1);
    QCOMPARE(pc_->filter, QStringLiteral("*.GSI"));
    QCOMPARE(pc_->relisted, 1);
}

void FrameTest::typedPatternsDoNothing() {
    pc_->hasCurrentItem = true;
    QLineEdit* field = FilterBox()->lineEdit();
    field->setFocus();
    for (const char* typed : {"*.TXT", "*.HAL", "*.gsi"}) {
        field->selectAll();
        QTest::keyClicks(field, QLatin1String(typed));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(field->text(), QLatin1String(typed));
    }
    // Leaving the field does not choose a matching entry either.
    instrument_->setFocus();
    QCoreApplication::processEvents();
    QCOMPARE(pc_->filter, QStringLiteral("*.*"));
    QCOMPARE(pc_->relisted, 0);
    QCOMPARE(FilterBox()->currentIndex(), 0);
}

void FrameTest::patternWithoutCurrentItemIsOnlyStored() {
    emit FilterBox()->activated(3);
    QCOMPARE(pc_->filter, QStringLiteral("*.VAL"));
    QCOMPARE(pc_->relisted, 0);
}

void FrameTest::viewsSetTheirPathLabelThroughTheFrame() {
    QCOMPARE(CMainFrame::Of(instrument_), frame_.get());
    instrument_->SetPathLabel(QStringLiteral("\\COM1\\JOB\\SITE1"));
    pc_->SetPathLabel(QStringLiteral("/home/surveyor/data"));
    QCOMPARE(frame_->HeaderStrip(0)->PathLabel(), QStringLiteral("\\COM1\\JOB\\SITE1"));
    QCOMPARE(frame_->HeaderStrip(1)->PathLabel(), QStringLiteral("/home/surveyor/data"));
    // A tree outside any frame has no header strip; nothing happens.
    RecordingTree loose;
    loose.SetPathLabel(QStringLiteral("x"));
    QCOMPARE(CMainFrame::Of(&loose), nullptr);
}

void FrameTest::functionKeysMoveBetweenPanes() {
    SL_SKIP_UNLESS_ACTIVE(frame_);
    // The instrument tree has the focus after the initial update.
    QTRY_COMPARE(QApplication::focusWidget(), instrument_);
    const auto press = [this](Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, modifiers);
        return QApplication::focusWidget();
    };
    QCOMPARE(press(Qt::NoModifier), frame_->Pane(1, 1));
    QCOMPARE(press(Qt::NoModifier), frame_->Pane(0, 0));
    QCOMPARE(press(Qt::NoModifier), frame_->Pane(0, 1));
    QCOMPARE(press(Qt::ShiftModifier), frame_->Pane(0, 0));
    QCOMPARE(press(Qt::ShiftModifier), frame_->Pane(1, 1));
    // F5 lists the PC folders again, wherever the focus is.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
    QCOMPARE(pc_->refreshed, 1);
}

void FrameTest::statusBarToggles() {
    Action("actionStatusbar")->trigger();
    QVERIFY(!frame_->StatusBar()->isVisible());
    Action("actionStatusbar")->trigger();
    QVERIFY(frame_->StatusBar()->isVisible());
}

void FrameTest::aboutBox() {
    CAboutDlg about(frame_.get());
    QCOMPARE(about.windowTitle(), QStringLiteral("About Velmor stationlink"));
    QCOMPARE(about.findChild<QLabel*>("versionLabel")->text(),
             QStringLiteral("Velmor stationlink Version 2.0"));
    QVERIFY(!about.findChild<QLabel*>("iconLabel")->pixmap().isNull());
    about.show();
    QTest::mouseClick(about.findChild<QAbstractButton*>("okButton"), Qt::LeftButton);
    QCOMPARE(about.result(), int(QDialog::Accepted));
}

void FrameTest::failedPaneFailsCreation() {
    PaneFactories factories;
    factories.pcTree = [](QWidget*) -> CTreeViewExtc* { return nullptr; };
    CMainFrame broken(factories);
    QVERIFY(!broken.Create());
    QCOMPARE(broken.InstrumentTree(), nullptr);
    QCOMPARE(broken.Pane(0, 0), nullptr);
}

QTEST_MAIN(FrameTest)
#include "FrameTest.moc"
