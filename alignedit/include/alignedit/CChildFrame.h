#pragma once

#include <QMdiSubWindow>

class CAlignEditView;

// The window around one view of a document inside the main window. Its
// title is the document's title; closing the last window of a modified
// document asks whether to save it first.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT

public:
    explicit CChildFrame(CAlignEditView* view, QWidget* parent = nullptr);

    CAlignEditView* View() const { return view_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void UpdateTitle();

    CAlignEditView* view_;
};
