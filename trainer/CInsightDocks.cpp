#include "CInsightDocks.h"

#include "project/CProjectController.h"
#include "project/report/CDatasetReport.h"
#include "project/run/CTrainingChartModel.h"
#include "project/run/CTrainingRun.h"
#include "views/CDatasetReportView.h"
#include "views/CProjectView.h"
#include "views/CTrainingChartView.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>
#include <QStatusBar>

CInsightDocks::CInsightDocks(QMainWindow* pWindow, CProjectController* pController, CProjectView* pProjectView)
    : QObject(pWindow)
{
    auto* pRightDock = pWindow->findChild<QDockWidget*>("Right Dock");
    m_pChartModel = new CTrainingChartModel(2000, pWindow);
    m_pChartView = new CTrainingChartView(m_pChartModel, pWindow);
    auto* pChartDock = new QDockWidget("Training", pWindow);
    pChartDock->setObjectName("Training");
    pChartDock->setWidget(m_pChartView);
    pWindow->addDockWidget(Qt::RightDockWidgetArea, pChartDock);
    m_pReportView = new CDatasetReportView(pWindow);
    auto* pReportDock = new QDockWidget("Dataset Report", pWindow);
    pReportDock->setObjectName("Dataset Report");
    pReportDock->setWidget(m_pReportView);
    pWindow->addDockWidget(Qt::RightDockWidgetArea, pReportDock);
    if (pRightDock)
    {
        pWindow->tabifyDockWidget(pRightDock, pChartDock);
        pWindow->tabifyDockWidget(pChartDock, pReportDock);
        pRightDock->raise();
    }
    // Shown when there is something to show: hidden, they leave the window's layout as it was.
    pChartDock->hide();
    pReportDock->hide();
    m_pReportDock = pReportDock;
    // The chart listens to the run itself; the trainer has logged every line before the chart reads it.
    CTrainingRun* pRun = pController->Run();
    connect(pRun, &CTrainingRun::signal_Started, m_pChartModel, &CTrainingChartModel::Clear);
    connect(pRun, &CTrainingRun::signal_OutputLine, m_pChartModel, &CTrainingChartModel::AddLine);
    connect(pRun, &CTrainingRun::signal_CommandStateChanged, m_pChartModel,
            &CTrainingChartModel::slot_CommandStateChanged);
    connect(pRun, &CTrainingRun::signal_Started, pChartDock,
            [pChartDock]
            {
                pChartDock->show();
                pChartDock->raise();
            });
    connect(m_pReportView, &CDatasetReportView::signal_OpenImageFile, pController, &CProjectController::slot_OpenImage);
    // The tree shows which image the canvas now holds, as when it is opened from the tree itself.
    connect(m_pReportView, &CDatasetReportView::signal_OpenImageFile, pProjectView,
            [pProjectView](int nImageID) { pProjectView->SelectImage(nImageID); });
    // A report left open is made again when the data set changes in bulk, without taking the dock's tab.
    connect(pController, &CProjectController::signal_DatasetChanged, this,
            [this, pController, pReportDock]
            {
                CDatasetReport report;
                // A dock behind another tab is still open; one never shown since the window was hidden is too.
                const bool bOpen = pReportDock->toggleViewAction()->isChecked() || !pReportDock->isHidden();
                if (bOpen && pController->MakeDatasetReport(report))
                    m_pReportView->SetReport(report);
            });
    // A refused build has its own box; one that went through says so where it does not interrupt.
    connect(pController, &CProjectController::signal_BuildCompleted, this,
            [pWindow](int nTrainImages, int nTestImages)
            {
                pWindow->statusBar()->showMessage(
                    QString("Build completed: %1 training and %2 test images").arg(nTrainImages).arg(nTestImages));
            });
}

void CInsightDocks::ShowReport(const CDatasetReport& report)
{
    m_pReportView->SetReport(report);
    m_pReportDock->show();
    m_pReportDock->raise();
}
