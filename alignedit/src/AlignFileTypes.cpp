#include "alignedit/AlignFileTypes.h"

#include <QFileInfo>

namespace AlignFileTypes {

QStringList Filters() {
    return {QStringLiteral("hal file(*.hal)"), QStringLiteral("val file(*.val)")};
}

QString WithTypeSuffix(const QString& path, int filterIndex) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) {
        return path;
    }
    return path + (filterIndex == 1 ? QStringLiteral(".val") : QStringLiteral(".hal"));
}

} // namespace AlignFileTypes
