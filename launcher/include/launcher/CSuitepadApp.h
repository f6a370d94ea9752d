#pragma once

#include <QApplication>

// The launcher program: it shows the launcher window and ends when the window closes.
class CSuitepadApp : public QApplication {
    Q_OBJECT
public:
    CSuitepadApp(int& argc, char** argv);

    int Run();
};
