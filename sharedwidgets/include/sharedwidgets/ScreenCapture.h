#pragma once

#include <QCommandLineOption>
#include <QString>

class QCommandLineParser;
class QWidget;

// The --screenshot <file> start-up option the desktop programs share: once
// the window has had time to map and paint, the whole screen is saved as a
// PNG and the program ends (exit code 0 when the file was written).
class ScreenCapture {
public:
    ScreenCapture();

    void AddTo(QCommandLineParser& parser) const;
    bool Requested(const QCommandLineParser& parser) const;

    // Without a window manager nothing places the window: it is given the
    // whole available screen before the picture is taken.
    void Schedule(const QCommandLineParser& parser, QWidget& window) const;

private:
    QCommandLineOption option_;
};
