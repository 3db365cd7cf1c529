#pragma once

#include <QObject>

class CDatasetReport;
class CDatasetReportView;
class CProjectController;
class CProjectView;
class CTrainingChartModel;
class CTrainingChartView;
class QDockWidget;
class QMainWindow;

// The "Training" chart dock and the "Dataset Report" dock: tabbed with the right dock and hidden until a run starts or
// a report is made. The chart follows the trainer's run; an open report is made again when the data set changes in
// bulk, and opening one of its entries also selects the image in the project tree.
class CInsightDocks : public QObject
{
    Q_OBJECT
public:
    CInsightDocks(QMainWindow* pWindow, CProjectController* pController, CProjectView* pProjectView);

    CTrainingChartModel* GetChartModel() const { return m_pChartModel; }
    CTrainingChartView* GetChartView() const { return m_pChartView; }
    CDatasetReportView* GetReportView() const { return m_pReportView; }
    // Shows the report and brings its dock forward.
    void ShowReport(const CDatasetReport& report);

private:
    CTrainingChartModel* m_pChartModel = nullptr;
    CTrainingChartView* m_pChartView = nullptr;
    CDatasetReportView* m_pReportView = nullptr;
    QDockWidget* m_pReportDock = nullptr;
};
