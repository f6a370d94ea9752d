#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A temporary program folder with a fake launcher path and small shell scripts in place of the
// suite's tools. Every started script appends "<its path>|<its current folder>" to a log, which
// proves a real start and where it ran.
class FakeSuiteFolder {
public:
    FakeSuiteFolder();

    // The launcher's program file as if it lay in this folder (the file itself is not needed).
    QString LauncherPath() const;
    QString ToolPath(const QString& tool) const;
    void AddTool(const QString& tool);
    // The lines logged so far by started tools.
    QStringList Starts() const;

private:
    QTemporaryDir dir_;
};

// Makes a fresh temporary folder the current one for the life of the object.
class ScopedCurrentFolder {
public:
    ScopedCurrentFolder();
    ~ScopedCurrentFolder();
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

    // The folder with symbolic links resolved, as the started tools report it.
    QString Path() const;

private:
    QTemporaryDir dir_;
    QString previous_;
};
