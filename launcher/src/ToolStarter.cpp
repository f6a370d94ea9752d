#include "launcher/ToolStarter.h"

#include <QCoreApplication>
#include <QProcess>

namespace {

// QProcess words exec failures as "<call>: <reason>"; the user needs only the reason.
QString ReasonOf(const QString& processError) {
    const qsizetype colon = processError.indexOf(QLatin1String(": "));
    const bool callPrefix = colon > 0 && !processError.left(colon).contains(QLatin1Char(' '));
    return callPrefix ? processError.mid(colon + 2) : processError;
}

} // namespace

ToolStarter::ToolStarter(QString ownProgramPath) : folder_(FolderOf(ownProgramPath)) {}

ToolStarter ToolStarter::ForThisProgram() {
    return ToolStarter(QCoreApplication::applicationFilePath());
}

QString ToolStarter::FolderOf(const QString& programPath) {
    const qsizetype slash = programPath.lastIndexOf(QLatin1Char('/'));
    // Without a folder part the program was found in the current folder; naming it "./" keeps
    // a bare tool name from being looked up on PATH.
    return slash < 0 ? QStringLiteral("./") : programPath.left(slash + 1);
}

QString ToolStarter::PathOf(const QString& toolFile) const {
    return folder_ + toolFile;
}

std::optional<QString> ToolStarter::Start(const QString& toolFile) const {
    const QString path = PathOf(toolFile);
    QProcess process;
    process.setProgram(path);
    // No working folder given: the tool starts in the launcher's current folder.
    if (process.startDetached()) {
        return std::nullopt;
    }
    return QCoreApplication::translate("ToolStarter", "cannot start \"%1\": %2")
        .arg(path, ReasonOf(process.errorString()));
}
