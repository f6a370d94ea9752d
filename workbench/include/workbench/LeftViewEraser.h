#pragma once

class CLeftView;
class QTreeWidgetItem;

// "Delete File" on an entry or a detail node: its dialog, then the erase,
// whose progress is the category listed again.
class LeftViewEraser {
public:
    explicit LeftViewEraser(CLeftView& view) : view_(view) {}

    void OnDeleteFile(QTreeWidgetItem* node);

private:
    CLeftView& view_;
};
