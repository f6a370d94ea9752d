#pragma once

#include <QString>
#include <QStringList>

// The two file types of the own Save and Save As dialogs.
namespace AlignFileTypes {

// One entry per type, in the order the dialog lists them.
QStringList Filters();

// The chosen name with the extension of the chosen type (0 ".hal",
// 1 ".val") when the name has none of its own.
QString WithTypeSuffix(const QString& path, int filterIndex);

} // namespace AlignFileTypes
