// Saves a picture of the legacyxfer window to the file given: a capture
// from x4sim's simple mode of a job that lost a block and carries a stray
// byte, both marked on their lines. Run it on a real display server, for
// example under xvfb-run.
#include "GsiSamples.h"
#include "SimProcess.h"
#include "legacyxfer/LegacyXferWindow.h"
#include "legacyxfer/PortPresetBar.h"
#include "legacyxfer/PresetBook.h"
#include "legacyxfer/ReceivePage.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("USB Communication"));
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <picture.png>\n", argv[0]);
        return 2;
    }
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    std::string job = GsiSamples::Job(24, 15);
    job.replace(job.find("P20"), 3, "P2\x07");
    GsiSamples::WriteFile(folder + "/BRIDGE.GSI", job);
    SimProcess sim({"--legacy-send", folder + "/BRIDGE.GSI", "--delay", "1", "--baud", "9600"});
    LinePreset preset = LinePreset::BuiltIn()[2];
    preset.endSilence = 1;
    PresetBook book(folder + "/presets");
    book.Keep(preset);
    book.SetLastFor(sim.Device(), preset.name);
    book.Save();
    LegacyXferWindow window(QString::fromStdString(folder + "/presets"));
    window.resize(900, 640);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window did not appear\n");
        return 1;
    }
    ReceivePage& page = window.Receive();
    page.Bar().SetPort(QString::fromStdString(sim.Device()));
    page.SetFile(QString::fromStdString(folder + "/bridge-capture.gsi"));
    QSignalSpy finished(&page, &ReceivePage::Finished);
    page.Start();
    if (!finished.wait(30000)) {
        std::fprintf(stderr, "the capture did not end\n");
        return 1;
    }
    QTest::qWait(300);
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s\n", argv[1]);
    return 0;
}
