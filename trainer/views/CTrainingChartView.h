#pragma once

#include <QWidget>

class CTrainingChartModel;
class QCheckBox;
class QLabel;
class QTimer;

namespace QtCharts
{
class QAbstractAxis;
class QChart;
class QLineSeries;
class QLogValueAxis;
class QValueAxis;
} // namespace QtCharts

// The "Training" dock's content: loss and average loss over the iterations of the chart model, and a line with the
// current iteration, the last iteration, the learning rate and the time left (left out once the run has stopped). The
// loss axis shows the model's LossRange, linear or, with the dock's check box, logarithmic. The chart is redrawn at
// most a few times a second however fast the model changes; Refresh() redraws at once.
class CTrainingChartView : public QWidget
{
    Q_OBJECT
public:
    // The model is not owned and must outlive the view.
    explicit CTrainingChartView(CTrainingChartModel* pModel, QWidget* pParent = nullptr);

    void Refresh();
    // "Iteration 120 / 4000   Rate 0.001000   Time left 1:02:03"
    QString StatusText() const;
    QtCharts::QLineSeries* GetLossSeries() const { return m_pLoss; }
    QtCharts::QLineSeries* GetAverageSeries() const { return m_pAverage; }
    QCheckBox* GetLogAxisBox() const { return m_pLogAxisBox; }
    // The loss axis on show: linear, or logarithmic while the box is checked.
    QtCharts::QAbstractAxis* GetLossAxis() const;

private slots:
    void slot_SetLogarithmic(bool bLogarithmic);

private:
    CTrainingChartModel* m_pModel = nullptr;
    QtCharts::QChart* m_pChart = nullptr;
    QtCharts::QLineSeries* m_pLoss = nullptr;
    QtCharts::QLineSeries* m_pAverage = nullptr;
    QtCharts::QValueAxis* m_pAxisX = nullptr;
    QtCharts::QValueAxis* m_pAxisY = nullptr;
    QtCharts::QLogValueAxis* m_pLogAxisY = nullptr;
    QCheckBox* m_pLogAxisBox = nullptr;
    QLabel* m_pStatus = nullptr;
    QTimer* m_pRedraw = nullptr;
};
