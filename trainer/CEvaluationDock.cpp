#include "CEvaluationDock.h"

#include "views/CEvaluationView.h"

#include <QDockWidget>
#include <QMainWindow>

CEvaluationDock::CEvaluationDock(QMainWindow* pWindow, QDockWidget* pTabWith) : QObject(pWindow)
{
    m_pView = new CEvaluationView(pWindow);
    m_pDock = new QDockWidget("Evaluation", pWindow);
    m_pDock->setObjectName("Evaluation");
    m_pDock->setWidget(m_pView);
    pWindow->addDockWidget(Qt::RightDockWidgetArea, m_pDock);
    if (pTabWith)
    {
        pWindow->tabifyDockWidget(pTabWith, m_pDock);
        pTabWith->raise();
    }
    // Hidden, it leaves the window's layout as it was until there is something to show.
    m_pDock->hide();
    QDockWidget* pDock = m_pDock;
    connect(m_pView, &CEvaluationView::signal_Shown, m_pDock,
            [pDock]
            {
                pDock->show();
                pDock->raise();
            });
}
