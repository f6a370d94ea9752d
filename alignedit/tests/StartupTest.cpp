// alignedit as it starts: an unknown code page is refused, naming it.

#include "MessageBoxAnswer.h"
#include "ProgramArguments.h"

#include "alignedit/CAlignEditApp.h"
#include "alignedit/CMainFrame.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(AligneditStartup, RefusesAnUnknownCodePageNamingIt) {
    ::setenv("STATIONLINK_CODEPAGE", "NO-SUCH-PAGE", 1);
    ProgramArguments args("alignedit");
    CAlignEditApp app(args.argc, args.argv);
    const MessageBoxAnswer answer;
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.MainFrame(), nullptr);
    EXPECT_EQ(answer.title, QStringLiteral("alignedit"));
    EXPECT_TRUE(answer.text.contains(QStringLiteral("\"NO-SUCH-PAGE\"")))
        << answer.text.toStdString();
}

} // namespace
