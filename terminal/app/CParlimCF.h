#pragma once
#include "CParlimDoc.h"

#include <QMdiSubWindow>
#include <QPointer>

class CParlimVW;
class IConnectionFrame;

// The window of one connection inside the main window, titled by its
// document. The first is shown maximised; with more, all are tiled.
class CParlimCF : public QMdiSubWindow {
    Q_OBJECT
public:
    CParlimCF(CParlimDoc* document, CParlimVW* view, IConnectionFrame& frame);
    ~CParlimCF() override;

    // Call once the window is in the main window's area.
    void ActivateFrame();
    CParlimDoc* Document() const { return m_pDocument; }
    CParlimVW* View() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<CParlimDoc> m_pDocument;
    IConnectionFrame& m_frame;
};
