#include "alignedit/CChildFrame.h"

#include "alignedit/CAlignEditDoc.h"
#include "alignedit/CAlignEditView.h"
#include "alignedit/CMainFrame.h"

#include <QCloseEvent>

CChildFrame::CChildFrame(CAlignEditView* view, QWidget* parent)
    : QMdiSubWindow(parent), view_(view) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view);
    CAlignEditDoc* document = view->GetDocument();
    connect(document, &CAlignEditDoc::TitleChanged, this, &CChildFrame::UpdateTitle);
    connect(document, &CAlignEditDoc::ModifiedChanged, this, &QWidget::setWindowModified);
    UpdateTitle();
    setWindowModified(document->IsModified());
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    CMainFrame* frame = CMainFrame::Of(this);
    if (frame != nullptr && !frame->CanCloseFrame(this)) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

void CChildFrame::UpdateTitle() {
    setWindowTitle(view_->GetDocument()->Title() + QStringLiteral("[*]"));
}
