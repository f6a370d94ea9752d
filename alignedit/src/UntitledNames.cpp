#include "alignedit/UntitledNames.h"

QString UntitledNames::Next() {
    return QStringLiteral("AlignEd%1").arg(++count_);
}
