#include "FakeSuiteFolder.h"
#include "launcher/ColourOffset.h"
#include "launcher/DialogScale.h"
#include "launcher/HoverTracker.h"
#include "launcher/IconButtonLayout.h"
#include "launcher/ToolStarter.h"

#include <QFont>
#include <QtTest>

Q_DECLARE_METATYPE(IconAlignment)

class LauncherLogicTest : public QObject {
    Q_OBJECT
private slots:
    void colourOffset_data();
    void colourOffset();
    void colourOffsetKeepsAlpha();
    void hoverFollowsMovesAndLeave();
    void hoverIgnoresDragsFromElsewhere();
    void hoverClearsWhenAPressOnTheButtonIsDraggedOff();
    void iconAboveCaption();
    void iconBesideCaption_data();
    void iconBesideCaption();
    void iconWithoutCaptionIsCentred();
    void dialogScaleFollowsTheFont();
    void dialogScaleKeepsNeighboursTouching();
    void startFolderComesFromTheProgramPath();
    void startFailureNamesTheFileAndTheReason_data();
    void startFailureNamesTheFileAndTheReason();
};

void LauncherLogicTest::colourOffset_data() {
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("classic grey face") << QColor(192, 192, 192) << 30 << QColor(222, 222, 222);
    QTest::newRow("light face saturates") << QColor(240, 240, 240) << 30 << QColor(255, 255, 255);
    QTest::newRow("one bright part limits all")
        << QColor(100, 240, 50) << 30 << QColor(115, 255, 65);
    QTest::newRow("limit exactly at 225") << QColor(225, 10, 0) << 30 << QColor(255, 40, 30);
    QTest::newRow("white stays white") << QColor(255, 255, 255) << 30 << QColor(255, 255, 255);
    QTest::newRow("darkening stops at zero") << QColor(20, 100, 200) << -30 << QColor(0, 80, 180);
    QTest::newRow("offset beyond range") << QColor(0, 0, 0) << 1000 << QColor(255, 255, 255);
}

void LauncherLogicTest::colourOffset() {
    QFETCH(QColor, colour);
    QFETCH(int, offset);
    QFETCH(QColor, expected);
    QCOMPARE(ColourOffset::Apply(colour, offset), expected);
}

void LauncherLogicTest::colourOffsetKeepsAlpha() {
    const QColor hsv = QColor::fromHsv(0, 0, 192, 128);
    QCOMPARE(ColourOffset::Apply(hsv, 30), QColor(222, 222, 222, 128));
}

void LauncherLogicTest::hoverFollowsMovesAndLeave() {
    HoverTracker hover;
    QVERIFY(hover.Move(false, true));
    QVERIFY(hover.Hovered());
    QVERIFY(!hover.Move(false, true)); // no repaint for every move
    QVERIFY(hover.Move(false, false));
    QVERIFY(!hover.Hovered());
    QVERIFY(hover.Move(false, true));
    QVERIFY(hover.Leave());
    QVERIFY(!hover.Hovered());
    QVERIFY(!hover.Leave());
}

void LauncherLogicTest::hoverIgnoresDragsFromElsewhere() {
    HoverTracker hover;
    QVERIFY(!hover.Move(true, true));
    QVERIFY(!hover.Hovered());
}

void LauncherLogicTest::hoverClearsWhenAPressOnTheButtonIsDraggedOff() {
    HoverTracker hover;
    hover.Move(false, true);
    QVERIFY(hover.Move(true, false));
    QVERIFY(!hover.Hovered());
    // Back over the button with the mouse still down: it stays dark until released.
    QVERIFY(!hover.Move(true, true));
}

void LauncherLogicTest::iconAboveCaption() {
    const QRect button(0, 0, 140, 54);
    const auto parts =
        IconButtonLayout::Arrange(button, QSize(32, 32), true, IconAlignment::Above, false);
    QCOMPARE(parts.icon, QRect(54, 3, 32, 32));
    QCOMPARE(parts.caption, QRect(0, 35, 140, 19));

    const auto pressed =
        IconButtonLayout::Arrange(button, QSize(32, 32), true, IconAlignment::Above, true);
    QCOMPARE(pressed.icon, parts.icon.translated(1, 1));
    QCOMPARE(pressed.caption, parts.caption.translated(1, 1));
}

void LauncherLogicTest::iconBesideCaption_data() {
    QTest::addColumn<IconAlignment>("alignment");
    QTest::addColumn<QRect>("icon");
    QTest::addColumn<QRect>("caption");
    QTest::newRow("left") << IconAlignment::Left << QRect(3, 11, 32, 32) << QRect(35, 0, 105, 54);
    QTest::newRow("right") << IconAlignment::Right << QRect(105, 11, 32, 32)
                           << QRect(0, 0, 105, 54);
}

void LauncherLogicTest::iconBesideCaption() {
    QFETCH(IconAlignment, alignment);
    QFETCH(QRect, icon);
    QFETCH(QRect, caption);
    const auto parts =
        IconButtonLayout::Arrange(QRect(0, 0, 140, 54), QSize(32, 32), true, alignment, false);
    QCOMPARE(parts.icon, icon);
    QCOMPARE(parts.caption, caption);
}

void LauncherLogicTest::iconWithoutCaptionIsCentred() {
    const auto parts = IconButtonLayout::Arrange(QRect(10, 20, 140, 54), QSize(32, 32), false,
                                                 IconAlignment::Above, false);
    QCOMPARE(parts.icon, QRect(64, 31, 32, 32));
    QVERIFY(parts.caption.isNull());
}

void LauncherLogicTest::dialogScaleFollowsTheFont() {
    const QRect designed(0, 7, 140, 54);
    QCOMPARE(DialogScale(6.0, 13.0).Map(designed), designed);
    QCOMPARE(DialogScale(9.0, 19.5).Map(designed), QRect(0, 11, 210, 81));
    // A smaller font does not shrink the buttons below their icons.
    QCOMPARE(DialogScale(4.0, 10.0).Map(designed), designed);
    QCOMPARE(DialogScale(9.0, 26.0).Map(QSize(140, 401)), QSize(210, 802));

    QFont big;
    big.setPixelSize(40);
    const QRect scaled = DialogScale::ForFont(big).Map(designed);
    QVERIFY(scaled.width() > designed.width());
    QVERIFY(scaled.height() > designed.height());
}

void LauncherLogicTest::dialogScaleKeepsNeighboursTouching() {
    const DialogScale scale(7.4, 14.0);
    const QRect upper = scale.Map(QRect(0, 7, 140, 54));
    const QRect lower = scale.Map(QRect(0, 61, 140, 54));
    QCOMPARE(lower.top(), upper.bottom() + 1);
}

void LauncherLogicTest::startFolderComesFromTheProgramPath() {
    QCOMPARE(ToolStarter::FolderOf("/opt/suite/bin/suitepad"), QString("/opt/suite/bin/"));
    QCOMPARE(ToolStarter::FolderOf("/suitepad"), QString("/"));
    QCOMPARE(ToolStarter::FolderOf("suitepad"), QString("./"));
    QCOMPARE(ToolStarter("/opt/suite/bin/suitepad").PathOf("stationlink"),
             QString("/opt/suite/bin/stationlink"));
    QCOMPARE(ToolStarter::ForThisProgram().PathOf("stationlink"),
             QCoreApplication::applicationDirPath() + "/stationlink");
}

void LauncherLogicTest::startFailureNamesTheFileAndTheReason_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << QByteArray() << "No such file or directory";
    QTest::newRow("not a program") << QByteArray("plain text\n") << "Permission denied";
}

void LauncherLogicTest::startFailureNamesTheFileAndTheReason() {
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    FakeSuiteFolder suite;
    if (!content.isEmpty()) {
        QFile data(suite.ToolPath("routebook"));
        QVERIFY(data.open(QIODevice::WriteOnly));
        data.write(content);
    }
    const auto failure = ToolStarter(suite.LauncherPath()).Start("routebook");
    QCOMPARE(failure, QString("cannot start \"%1\": %2").arg(suite.ToolPath("routebook"), reason));
}

QTEST_MAIN(LauncherLogicTest)
#include "LauncherLogicTest.moc"
