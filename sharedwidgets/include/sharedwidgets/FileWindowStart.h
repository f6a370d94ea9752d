#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

// The start of a desktop program whose window opens the files named on
// its command line (drawexport, coordbook): the application's names, the
// wire code page check, the --screenshot option and the files.
class FileWindowStart {
public:
    // The window, made once the application runs, with the files to open.
    using MakeWindow = std::function<std::unique_ptr<QWidget>(const QStringList& files)>;

    // Arguments that open the window rather than the program's command
    // line: file names, and --screenshot with its file.
    static bool MeansWindow(const std::vector<std::string>& args);
    // Runs the window until the program ends; its exit status (2 when the
    // wire code page cannot be used).
    static int Run(int& argc, char** argv, const QString& name, const QString& title,
                   const MakeWindow& make);
};
