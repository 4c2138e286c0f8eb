#include "CParlimCF.h"

#include "CParlimDoc.h"
#include "CParlimVW.h"
#include "IConnectionFrame.h"
#include "resource.h"

#include <QCloseEvent>
#include <QMdiArea>

using namespace parlim;

CParlimCF::CParlimCF(CParlimDoc* document, CParlimVW* view, IConnectionFrame& frame)
    : m_pDocument(document), m_frame(frame)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view);
    setWindowTitle(QString::fromStdString(document->GetTitle()));
    connect(document, &CParlimDoc::TitleChanged, this, &QWidget::setWindowTitle);
}

CParlimCF::~CParlimCF() = default;

CParlimVW* CParlimCF::View() const
{
    return qobject_cast<CParlimVW*>(widget());
}

void CParlimCF::ActivateFrame()
{
    QMdiArea* area = mdiArea();
    if (!area || area->subWindowList().size() <= 1) {
        showMaximized();
    } else {
        show();
        m_frame.DispatchCommand(ID_WINDOW_TILE_HORZ);
    }
    if (area)
        area->setActiveSubWindow(this);
    if (QWidget* view = widget())
        view->setFocus();
}

void CParlimCF::closeEvent(QCloseEvent* event)
{
    QMdiSubWindow::closeEvent(event);
    if (!event->isAccepted())
        return;
    if (m_pDocument) {
        CParlimDoc* document = m_pDocument;
        m_pDocument = nullptr;
        document->CloseDocument();
    }
}
