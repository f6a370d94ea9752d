// The Road Line Editor window, offscreen, with its questions answered by
// the test: an unchanged save is byte for byte, table edits undo and redo,
// closing asks about unsaved work, the plan's cursor gives chainage and offset,
// and stations are exported.

#include "routebook/AlignmentDocument.h"
#include "routebook/AlignmentTableModel.h"
#include "routebook/PlanCanvas.h"
#include "routebook/ProfileCanvas.h"
#include "routebook/RouteBookWindow.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <numbers>

namespace {

const QByteArray kHal = "START,0.000,1250.000,2480.000,52.3140\r\nSTRAIGHT,120.000\r\n"
                        "SPIRAL,60.000,350.000\r\nARC,85.500,350.000\r\n"
                        "SPIRAL,60.000,350.000\r\nSTRAIGHT,210.250\r\n";
// x4sim's demo profile as the instrument sends it: its curves overlap.
const QByteArray kVal = "PVI,0.000,312.500,0.000\r\nPVI,150.000,318.200,800.000\r\n"
                        "PVI,310.000,315.900,1200.000\r\nPVI,420.000,321.050,600.000\r\n"
                        "PVI,535.750,322.400,0.000\r\n";

class ScriptedWindow : public RouteBookWindow {
public:
    QMessageBox::StandardButton closeAnswer = QMessageBox::Cancel;
    bool saveDespite = true;
    int closeQuestions = 0;
    QStringList told;

protected:
    QMessageBox::StandardButton AskSaveChanges() override {
        ++closeQuestions;
        return closeAnswer;
    }
    bool AskSaveDespite(const QString&) override { return saveDespite; }
    void Tell(const QString& message) override { told << message; }
};

QByteArray Read(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class RouteBookWidgetTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        hal_ = dir_.filePath("MAINST.hal");
        val_ = dir_.filePath("MAINST.val");
        Write(hal_, kHal);
        Write(val_, kVal);
    }

    void unchangedSaveIsByteForByteAndProblemsAreListed() {
        ScriptedWindow window;
        window.OpenFiles({hal_, val_});
        QCOMPARE(window.HorizontalModel()->rowCount(), 6);
        QCOMPARE(window.VerticalModel()->rowCount(), 5);
        QVERIFY(window.IssueList()->count() >= 1);
        QVERIFY(window.IssueList()->item(0)->text().startsWith("vertical point 2 (PVI, line 2)"));
        window.saveDespite = false;
        QVERIFY(!window.Save());
        window.saveDespite = true;
        QVERIFY(window.Save());
        QCOMPARE(Read(hal_), kHal);
        QCOMPARE(Read(val_), kVal);
    }

    void tableEditsUndoRedoAndSaveOnlyTheirLine() {
        ScriptedWindow window;
        window.Open(hal_);
        AlignmentTableModel* model = window.HorizontalModel();
        QVERIFY(!model->setData(model->index(3, 3), "wide", Qt::EditRole));
        QVERIFY(model->setData(model->index(3, 3), "300", Qt::EditRole)); // the arc's radius
        QVERIFY(window.Document()->IsModified());
        // The spirals either side no longer fit the arc.
        QCOMPARE(window.IssueList()->count(), 2);
        QVERIFY(model->setData(model->index(0, 6), "90.0000", Qt::EditRole)); // the bearing
        QCOMPARE(model->index(4, 1).data().toString(), QString("265.500"));   // computed chainage
        window.Document()->UndoStack()->undo();
        window.Document()->UndoStack()->undo();
        QVERIFY(!window.Document()->IsModified());
        QCOMPARE(window.IssueList()->item(0)->text(), QString("No problems found"));
        window.Document()->UndoStack()->redo();
        QVERIFY(window.Save());
        QCOMPARE(Read(hal_), QByteArray(kHal).replace("ARC,85.500,350.000", "ARC,85.500,300.000"));
    }

    void closingAsksAboutUnsavedWork() {
        ScriptedWindow window;
        window.Open(hal_);
        window.show();
        QVERIFY(window.close());
        QCOMPARE(window.closeQuestions, 0);
        window.show();
        window.HorizontalModel()->Remove(5);
        window.closeAnswer = QMessageBox::Cancel;
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        window.closeAnswer = QMessageBox::Save;
        QVERIFY(window.close());
        QCOMPARE(window.closeQuestions, 2);
        QCOMPARE(Read(hal_), kHal.left(kHal.lastIndexOf("STRAIGHT")));
    }

    void planCursorGivesChainageAndOffset() {
        ScriptedWindow window;
        window.OpenFiles({hal_});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.Plan()->FitAll();
        QSignalSpy moved(window.Plan(), &PlanCanvas::CursorMoved);
        // The point 100 m along the first element, a straight from the start.
        const double bearing = (52 + 31 / 60.0 + 40 / 3600.0) * std::numbers::pi / 180;
        const QPointF at =
            window.Plan()->ToScreen(1250 + 100 * std::sin(bearing), 2480 + 100 * std::cos(bearing));
        // Sent straight to the view: a compositor may not move the pointer.
        QMouseEvent move(QEvent::MouseMove, at, window.Plan()->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window.Plan(), &move);
        QCOMPARE(moved.count(), 1);
        const double pixel = 1 / window.Plan()->Scale();
        QVERIFY(std::fabs(moved[0][0].toDouble() - 100) < 2 * pixel);
        QVERIFY(std::fabs(moved[0][1].toDouble()) < 2 * pixel);
    }

    void stationsExportAsCsvAndGsi() {
        ScriptedWindow window;
        window.Open(hal_);
        QVERIFY(window.ExportStations(dir_.filePath("s.csv"), {50, 2, 2}));
        QVERIFY(Read(dir_.filePath("s.csv"))
                    .startsWith("chainage,offset,easting,northing,bearing,height\r\n"
                                "0.000,0.000,1250.000,2480.000,52.3140,\r\n"));
        QVERIFY(window.ExportStations(dir_.filePath("s.gsi"), {50, 0, 0}));
        QVERIFY(Read(dir_.filePath("s.gsi")).startsWith("*110001+0000000000C0.000 81..00+"));
        QVERIFY(window.told.isEmpty());
    }

private:
    QTemporaryDir dir_;
    QString hal_;
    QString val_;
};

QTEST_MAIN(RouteBookWidgetTest)
#include "RouteBookWidgetTest.moc"
