#include "launcher/ToolStarter.h"
#include "FakeSuiteFolder.h"

#include <QFile>
#include <QtTest>

namespace {
constexpr int kStartTimeoutMs = 30000;
}

class ToolStarterTest : public QObject {
    Q_OBJECT
private slots:
    void startsFromItsOwnFolderInTheCurrentFolder();
    void twoStartsRunTwice();
    void missingToolIsReported();
    void toolThatIsNoProgramIsReported();
};

void ToolStarterTest::startsFromItsOwnFolderInTheCurrentFolder() {
    FakeSuiteFolder suite;
    suite.AddTool("stationlink");
    const ScopedCurrentFolder elsewhere;

    QCOMPARE(ToolStarter(suite.LauncherPath()).Start("stationlink"), std::nullopt);

    QTRY_COMPARE_WITH_TIMEOUT(suite.Starts().size(), 1, kStartTimeoutMs);
    QCOMPARE(suite.Starts().first(), suite.ToolPath("stationlink") + "|" + elsewhere.Path());
}

void ToolStarterTest::twoStartsRunTwice() {
    FakeSuiteFolder suite;
    suite.AddTool("codebook");
    const ToolStarter starter(suite.LauncherPath());
    QCOMPARE(starter.Start("codebook"), std::nullopt);
    QCOMPARE(starter.Start("codebook"), std::nullopt);
    QTRY_COMPARE_WITH_TIMEOUT(suite.Starts().size(), 2, kStartTimeoutMs);
}

void ToolStarterTest::missingToolIsReported() {
    FakeSuiteFolder suite;
    const auto failure = ToolStarter(suite.LauncherPath()).Start("coordbook");
    QVERIFY(failure.has_value());
    QCOMPARE(
        *failure,
        QString("cannot start \"%1\": No such file or directory").arg(suite.ToolPath("coordbook")));
}

void ToolStarterTest::toolThatIsNoProgramIsReported() {
    FakeSuiteFolder suite;
    QFile data(suite.ToolPath("routebook"));
    QVERIFY(data.open(QIODevice::WriteOnly));
    data.write("not a program\n");
    data.close();
    const auto failure = ToolStarter(suite.LauncherPath()).Start("routebook");
    QVERIFY(failure.has_value());
    QVERIFY2(failure->endsWith("Permission denied"), qPrintable(*failure));
}

QTEST_GUILESS_MAIN(ToolStarterTest)
#include "ToolStarterTest.moc"
