#include "sharedwidgets/CFrameStatusBar.h"
#include "sharedwidgets/PlanView.h"
#include "sharedwidgets/ScaleBar.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <cmath>

class SharedWidgetsTest : public QObject {
    Q_OBJECT

private slots:
    void planViewFitsZoomsAboutTheCursorPansAndPicks();
    void scaleBarLengthsAreRound_data();
    void scaleBarLengthsAreRound();
    void statusBarShowsTheLockKeys();
};

namespace {

QPointF ScreenOf(const PlanView& view, const SurveyPoint& point) {
    return view.Transform().ToScreen(point.east, point.north);
}

} // namespace

void SharedWidgetsTest::planViewFitsZoomsAboutTheCursorPansAndPicks() {
    const std::vector<SurveyPoint> points = {{"A", "TREE", 1000, 2000, 10.0, 3, 1},
                                             {"B", "KERB", 1100, 2050, std::nullopt, 3, 2},
                                             {"C", "", 1040, 1990, 12.0, 3, 3}};
    PlanView view;
    view.resize(400, 300);
    view.SetPoints({&points[0], &points[1], &points[2]});
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    for (const SurveyPoint& point : points) {
        QVERIFY2(view.rect().contains(ScreenOf(view, point).toPoint()), point.name.c_str());
    }
    QCOMPARE_NE(view.Palette().Colour(0), view.Palette().Colour(1));
    QCOMPARE(view.Palette().Colour(2), QColor(0x707070)); // no code: grey

    // The wheel zooms about the cursor: the plan point under it stays.
    const QPointF cursor(120, 80);
    const QPointF before = view.Transform().ToPlan(cursor);
    const double scale = view.Transform().PixelsPerMetre();
    QWheelEvent wheel(cursor, view.mapToGlobal(cursor), {}, {0, 240}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &wheel);
    QVERIFY(std::abs(view.Transform().PixelsPerMetre() - scale * 1.25 * 1.25) < 1e-9 * scale);
    const QPointF after = view.Transform().ToPlan(cursor);
    QVERIFY(std::abs(after.x() - before.x()) < 1e-6 && std::abs(after.y() - before.y()) < 1e-6);

    // A drag moves the plan with the mouse.
    const QPointF a = ScreenOf(view, points[0]);
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseMove(&view, QPoint(230, 170));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(230, 170));
    const QPointF moved = ScreenOf(view, points[0]) - a;
    QVERIFY(std::abs(moved.x() - 30) < 1e-6 && std::abs(moved.y() - 20) < 1e-6);

    // A click beside a point picks it; Home shows every point again.
    QSignalSpy picked(&view, &PlanView::pointClicked);
    view.FitAll();
    QTest::mouseClick(&view, Qt::LeftButton, {},
                      (ScreenOf(view, points[1]) + QPointF(3, -2)).toPoint());
    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.at(0).at(0).toInt(), 1);
    QCOMPARE(view.Current(), 1);
}

void SharedWidgetsTest::scaleBarLengthsAreRound_data() {
    QTest::addColumn<double>("metres");
    QTest::addColumn<double>("round");
    QTest::newRow("fifth of a metre") << 0.37 << 0.2;
    QTest::newRow("one") << 1.0 << 1.0;
    QTest::newRow("just below a thousand") << 999.0 << 500.0;
    QTest::newRow("a thousand") << 1000.0 << 1000.0;
    QTest::newRow("two") << 4.99 << 2.0;
    QTest::newRow("nothing") << 0.0 << 0.0;
}

void SharedWidgetsTest::scaleBarLengthsAreRound() {
    QFETCH(double, metres);
    QFETCH(double, round);
    QCOMPARE(ScaleBar::NiceLength(metres), round);
}

void SharedWidgetsTest::statusBarShowsTheLockKeys() {
    KeyLocks locks{true, false, true};
    CFrameStatusBar bar(nullptr, [&locks] { return std::optional<KeyLocks>(locks); });
    QCOMPARE(bar.IndicatorTexts(), (std::array<QString, 3>{"CAPS", "", "SCRL"}));
    locks = KeyLocks{false, true, false};
    QVERIFY(bar.UpdateIndicators());
    QCOMPARE(bar.IndicatorTexts(), (std::array<QString, 3>{"", "NUM", ""}));
    CFrameStatusBar unknown(nullptr, [] { return std::optional<KeyLocks>(); });
    QVERIFY(!unknown.UpdateIndicators());
    QCOMPARE(unknown.IndicatorTexts(), (std::array<QString, 3>{"", "", ""}));
}

QTEST_MAIN(SharedWidgetsTest)
#include "SharedWidgetsTest.moc"
