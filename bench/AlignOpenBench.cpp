// Opening big files in alignedit: one line without blanks against the same
// number of bytes in short lines, at 1 MB and 4 MB (the editor's limit). A
// run is the whole open as the user meets it: read, decode, fill the text
// and paint the window (offscreen), which lays out the lines on screen;
// for the long line that is the whole file. Medians of several rounds; the
// long line should open within 3 times the short lines' time.
// Usage: align_open_bench [ROUNDS]   (default 3)

#include "alignedit/CAlignEditView.h"
#include "alignedit/CMainFrame.h"

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using Clock = std::chrono::steady_clock;

namespace {

constexpr double kAllowedRatio = 3.0;
constexpr int kShortLine = 78;

// Alignment-like characters, none of them a blank.
QByteArray Characters(qsizetype count) {
    static const QByteArray kPattern("1204.567,3378.091,R=250.000;A=90.000/");
    QByteArray bytes;
    bytes.reserve(count);
    while (bytes.size() < count) {
        bytes += kPattern.left(count - bytes.size());
    }
    return bytes;
}

QByteArray LongLine(qsizetype size) {
    return Characters(size);
}

QByteArray ShortLines(qsizetype size) {
    const QByteArray line = Characters(kShortLine) + "\r\n";
    QByteArray bytes;
    bytes.reserve(size);
    while (bytes.size() + line.size() <= size) {
        bytes += line;
    }
    return bytes + Characters(size - bytes.size());
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The median time of rounds opens of the file in a fresh main window, in
// milliseconds; negative when the file did not open.
double MedianOpenMs(const QString& path, int rounds) {
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        CMainFrame frame;
        frame.resize(1000, 700);
        frame.show();
        QApplication::processEvents();
        const auto start = Clock::now();
        if (frame.OpenDocumentFile(path) == nullptr) {
            return -1;
        }
        frame.ActiveView()->viewport()->repaint();
        QApplication::processEvents();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    const auto middle = times.begin() + rounds / 2;
    std::nth_element(times.begin(), middle, times.end());
    return *middle;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTemporaryDir temp;
    // The recent-file list goes to the scratch folder, not the user's settings.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, temp.path());
    bool within = true;
    for (const qsizetype megabytes : {1, 4}) {
        const qsizetype size = megabytes * 1024 * 1024;
        const QString shortPath = temp.filePath(QStringLiteral("short.hal"));
        const QString longPath = temp.filePath(QStringLiteral("long.hal"));
        if (!temp.isValid() || !Write(shortPath, ShortLines(size)) ||
            !Write(longPath, LongLine(size))) {
            std::fprintf(stderr, "cannot write the test files\n");
            return 1;
        }
        const double shortMs = MedianOpenMs(shortPath, rounds);
        const double longMs = MedianOpenMs(longPath, rounds);
        if (shortMs < 0 || longMs < 0) {
            std::fprintf(stderr, "a %lld MB file did not open\n",
                         static_cast<long long>(megabytes));
            return 1;
        }
        const double ratio = longMs / shortMs;
        within = within && ratio <= kAllowedRatio;
        std::printf("%lld MB  short lines %8.1f ms   one line without blanks %8.1f ms   "
                    "%5.2f x\n",
                    static_cast<long long>(megabytes), shortMs, longMs, ratio);
    }
    std::printf("long line within %.0f x of short lines: %s\n", kAllowedRatio,
                within ? "yes" : "NO");
    return within ? 0 : 1;
}
