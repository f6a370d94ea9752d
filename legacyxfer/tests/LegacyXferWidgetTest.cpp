#include "GsiSamples.h"
#include "SimProcess.h"
#include "legacyxfer/LegacyXferWindow.h"
#include "legacyxfer/PortPresetBar.h"
#include "legacyxfer/PresetBook.h"
#include "legacyxfer/ReceivePage.h"
#include "legacyxfer/SendPage.h"
#include "legacyxfer/UsbPage.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

class LegacyXferWidgetTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    fs::path Path(const char* name) const { return fs::path(dir_.path().toStdString()) / name; }

    // A preset that ends a capture quickly, remembered as the last one used
    // on the port: the window must pick it when the port is chosen.
    QString PresetFileFor(const std::string& port) const {
        LinePreset quick = LinePreset::BuiltIn().front();
        quick.name = "Quick test";
        quick.endSilence = 0.5;
        PresetBook book(Path("presets").string());
        book.Keep(quick);
        book.SetLastFor(port, quick.name);
        book.Save();
        return QString::fromStdString(Path("presets").string());
    }

private slots:
    void receiveShowsTheLostBlockOnItsLine() {
        const std::string job = GsiSamples::WriteFile(Path("gap.gsi"), GsiSamples::Job(12, 7));
        SimProcess sim({"--legacy-send", job, "--delay", "1", "--baud", "115200"});
        LegacyXferWindow window(PresetFileFor(sim.Device()));
        ReceivePage& page = window.Receive();
        page.Bar().SetPort(QString::fromStdString(sim.Device()));
        QCOMPARE(page.Bar().Preset().name, std::string("Quick test"));
        page.SetFile(QString::fromStdString(Path("got.gsi").string()));
        QSignalSpy finished(&page, &ReceivePage::Finished);
        page.Start();
        QVERIFY(page.Running());
        QVERIFY(finished.wait(15000));
        QCOMPARE(Read(Path("got.gsi")), Read(job));
        QVERIFY2(page.Log().contains("jumps from 6 to 8"), qPrintable(page.Log()));
        QVERIFY2(page.Summary().contains("1 lost-block jumps"), qPrintable(page.Summary()));
    }

    void sendDeliversTheFile() {
        const std::string job = GsiSamples::WriteFile(Path("out.gsi"), GsiSamples::Job(30));
        SimProcess sim({"--legacy-receive", Path("instrument").string(), "--baud", "115200"});
        LegacyXferWindow window(PresetFileFor(sim.Device()));
        SendPage& page = window.Send();
        page.Bar().SetPort(QString::fromStdString(sim.Device()));
        page.SetFile(QString::fromStdString(job));
        QSignalSpy finished(&page, &SendPage::Finished);
        page.Start();
        QVERIFY(finished.wait(15000));
        QVERIFY2(page.Summary().startsWith("sent"), qPrintable(page.Summary()));
        QCOMPARE(page.Progress(), 1000);
        const fs::path received = Path("instrument") / "received.txt";
        QTRY_COMPARE_WITH_TIMEOUT(Read(received).size(), Read(job).size(), 10000);
        QCOMPARE(Read(received), Read(job));
    }

    void stickCopiesAskBeforeReplacing() {
        fs::create_directories(Path("sys/sdc"));
        std::ofstream(Path("sys/sdc/removable")) << "1\n";
        fs::create_directories(Path("stick/JOBS"));
        const std::string job =
            GsiSamples::WriteFile(Path("stick/JOBS/ROAD.GSI"), GsiSamples::Job(4));
        std::ofstream(Path("mounts")) << "/dev/sdc1 " << Path("stick").string() << " vfat rw 0 0\n";
        fs::create_directories(Path("pc"));
        GsiSamples::WriteFile(Path("pc/ROAD.GSI"), "kept");

        LegacyXferWindow window(QString::fromStdString(Path("presets").string()));
        QStringList asked;
        bool answer = false;
        window.SetConfirm([&](const QString& question) {
            asked << question;
            return answer;
        });
        UsbPage& page = window.Usb();
        page.SetPlaces({Path("mounts").string(), Path("sys").string()});
        QCOMPARE(page.Listed(), QStringList{QString::fromStdString(job)});
        page.SetTarget(QString::fromStdString(Path("pc").string()));
        page.SetPointFiles(true);
        page.SelectAll();
        page.CopySelected();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(Read(Path("pc/ROAD.GSI")), std::string("kept"));
        QVERIFY(!fs::exists(Path("pc/ROAD.dat")));
        answer = true;
        page.CopySelected();
        QCOMPARE(Read(Path("pc/ROAD.GSI")), Read(job));
        QVERIFY2(page.Summary().contains("4 points"), qPrintable(page.Summary()));
    }
};

QTEST_MAIN(LegacyXferWidgetTest)
#include "LegacyXferWidgetTest.moc"
