// Saves a picture of stationlink's PC tree in use: the desktop folder and one
// of its folders expanded, the "*.GSI" filter chosen in the filter box, an
// empty folder with its placeholder and a file clicked (its path in the label
// above the tree). Run on a display (scripts/screenshot-pc-browser.sh).
// Usage: pc_browser_shot <file.png>

#include "TreeChild.h"
#include "workbench/CDialogBar.h"
#include "workbench/CKestaTDApp.h"
#include "workbench/CRightView.h"

#include <QComboBox>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {

constexpr int kPaintDelayMs = 1500;

void Click(CRightView* tree, QTreeWidgetItem* item) {
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

void ChooseFilter(CMainFrame* frame, const QString& pattern) {
    QComboBox* box = frame->DialogBar()->FilterBox();
    const int index = box->findText(pattern);
    box->setCurrentIndex(index);
    emit box->activated(index);
}

} // namespace

int main(int argc, char** argv) {
    PaneFactories panes;
    panes.pcTree = [](QWidget* parent) { return new CRightView(parent); };
    int appArgc = 1;
    CKestaTDApp app(appArgc, argv, panes);
    if (argc != 2 || !app.InitInstance()) {
        return 1;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    CMainFrame* frame = app.MainFrame();
    frame->setGeometry(frame->screen()->availableGeometry());
    auto* tree = static_cast<CRightView*>(frame->PcTree());

    QTimer::singleShot(kPaintDelayMs / 3, frame, [frame, tree] {
        QTreeWidgetItem* desktop = tree->DesktopItem();
        tree->expandItem(desktop);
        QTreeWidgetItem* jobs = Child(desktop, QStringLiteral("jobs"));
        QTreeWidgetItem* empty = Child(desktop, QStringLiteral("empty"));
        if (jobs == nullptr || empty == nullptr) {
            return;
        }
        tree->expandItem(jobs);
        tree->expandItem(empty);
        Click(tree, jobs);
        ChooseFilter(frame, QStringLiteral("*.GSI"));
        if (jobs->childCount() > 1) {
            Click(tree, jobs->child(1));
        }
    });
    QTimer::singleShot(kPaintDelayMs, &app, [&app, frame, out] {
        app.exit(frame->screen()->grabWindow(0).save(out, "PNG") ? 0 : 1);
    });
    return CKestaTDApp::exec();
}
