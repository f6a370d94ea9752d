#pragma once

#include <QString>

#include <optional>

// Starts the suite's programs. They are looked up in the folder of the running launcher, not in
// the current folder or on PATH, so a launcher started from anywhere finds its siblings; the
// started program inherits the launcher's current folder and runs on independently of it.
class ToolStarter {
public:
    // ownProgramPath: the launcher's own program file (normally the running executable).
    explicit ToolStarter(QString ownProgramPath);
    // A starter for the running program.
    static ToolStarter ForThisProgram();

    // The folder of a program file, with its final "/".
    static QString FolderOf(const QString& programPath);
    QString PathOf(const QString& toolFile) const;

    // Starts the tool without waiting for it. Returns the message a desktop shows for a
    // program that cannot start, or nothing when the program was started.
    std::optional<QString> Start(const QString& toolFile) const;

private:
    QString folder_;
};
