#pragma once

#include "workbench/MessageTarget.h"

#include <QString>

class CLeftView;

// The progress dialog of the instrument tree's transfers and erases: run
// modally until the operation's end closes it; closed by the user, it stops
// the operation.
class LeftViewProgress {
public:
    explicit LeftViewProgress(CLeftView& view) : view_(view) {}

    // caption: "Receiving..." for a download, "Sending..." for an upload.
    int RunProgressDialog(const QString& caption, const QString& fileType, const QString& source,
                          const QString& destination, int total);
    // The lines the running operation has moved.
    void ShowLines(std::size_t lines);
    // The operation has ended: the dialog closes.
    void End();

private:
    CLeftView& view_;
};
