// stationlink as it starts: an unknown code page is refused, naming it,
// and message boxes carry the application's title.

#include "MessageBoxAnswer.h"
#include "ProgramArguments.h"

#include "workbench/CKestaTDApp.h"
#include "workbench/CLeftView.h"
#include "workbench/CRightView.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const QString kStationlinkTitle = QStringLiteral("Velmor Data Exchange Manager");

PaneFactories StationlinkPanes() {
    PaneFactories panes;
    panes.instrumentTree = [](QWidget* parent) { return new CLeftView(parent); };
    panes.pcTree = [](QWidget* parent) { return new CRightView(parent); };
    return panes;
}

class Startup : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("STATIONLINK_PORTS", "", 1); }
    void TearDown() override { ::unsetenv("STATIONLINK_CODEPAGE"); }
};

TEST_F(Startup, StationlinkRefusesAnUnknownCodePageNamingIt) {
    ::setenv("STATIONLINK_CODEPAGE", "NO-SUCH-PAGE", 1);
    ProgramArguments args("stationlink");
    CKestaTDApp app(args.argc, args.argv, StationlinkPanes());
    const MessageBoxAnswer answer;
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.MainFrame(), nullptr);
    EXPECT_EQ(answer.title, kStationlinkTitle);
    EXPECT_TRUE(answer.text.contains(QStringLiteral("\"NO-SUCH-PAGE\"")))
        << answer.text.toStdString();
}

TEST_F(Startup, StationlinkMessageBoxesCarryTheApplicationTitle) {
    ProgramArguments args("stationlink");
    CKestaTDApp app(args.argc, args.argv, StationlinkPanes());
    ASSERT_TRUE(app.InitInstance());
    const MessageBoxAnswer answer;
    // "Move File" with nothing chosen in the instrument tree.
    app.MainFrame()->InstrumentTree()->SendUserMessage(UM_MOVE_FILE);
    EXPECT_EQ(answer.title, kStationlinkTitle);
    EXPECT_EQ(answer.text, QStringLiteral("Pls Select Device File"));
}

} // namespace
