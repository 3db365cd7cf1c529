#include "views/CTrainingChartView.h"

#include "project/run/CTrainingChartModel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QValueAxis>

#include <algorithm>

using namespace QtCharts;

namespace
{
// A trainer prints hundreds of lines a second; a chart redrawn for each would take the GUI thread from the log.
const int REDRAW_MS = 250;

QString Duration(double dblSeconds)
{
    const qint64 nSeconds = static_cast<qint64>(dblSeconds + 0.5);
    return QString("%1:%2:%3")
        .arg(nSeconds / 3600)
        .arg((nSeconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(nSeconds % 60, 2, 10, QLatin1Char('0'));
}
} // namespace

CTrainingChartView::CTrainingChartView(CTrainingChartModel* pModel, QWidget* pParent)
    : QWidget(pParent), m_pModel(pModel)
{
    m_pChart = new QChart();
    m_pLoss = new QLineSeries(m_pChart);
    m_pLoss->setName("Loss");
    m_pAverage = new QLineSeries(m_pChart);
    m_pAverage->setName("Average loss");
    m_pChart->addSeries(m_pLoss);
    m_pChart->addSeries(m_pAverage);
    m_pAxisX = new QValueAxis(m_pChart);
    m_pAxisX->setTitleText("Iteration");
    m_pAxisX->setLabelFormat("%d");
    m_pAxisY = new QValueAxis(m_pChart);
    m_pAxisY->setTitleText("Loss");
    m_pChart->addAxis(m_pAxisX, Qt::AlignBottom);
    m_pChart->addAxis(m_pAxisY, Qt::AlignLeft);
    // Both axes stay in the chart, which owns them; the series follow the one on show.
    m_pLogAxisY = new QLogValueAxis(m_pChart);
    m_pLogAxisY->setTitleText("Loss (log)");
    m_pLogAxisY->setLabelFormat("%g");
    m_pLogAxisY->setBase(10.0);
    m_pChart->addAxis(m_pLogAxisY, Qt::AlignLeft);
    m_pLogAxisY->setVisible(false);
    for (QLineSeries* pSeries : {m_pLoss, m_pAverage})
    {
        pSeries->attachAxis(m_pAxisX);
        pSeries->attachAxis(m_pAxisY);
    }
    m_pChart->setTheme(QChart::ChartThemeDark);

    auto* pChartView = new QChartView(m_pChart, this);
    pChartView->setRenderHint(QPainter::Antialiasing);
    m_pStatus = new QLabel(this);
    m_pLogAxisBox = new QCheckBox("Logarithmic loss axis", this);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(pChartView);
    auto* pStatusRow = new QHBoxLayout;
    pStatusRow->addWidget(m_pStatus, 1);
    pStatusRow->addWidget(m_pLogAxisBox);
    pLayout->addLayout(pStatusRow);
    connect(m_pLogAxisBox, &QCheckBox::toggled, this, &CTrainingChartView::slot_SetLogarithmic);

    m_pRedraw = new QTimer(this);
    m_pRedraw->setSingleShot(true);
    m_pRedraw->setInterval(REDRAW_MS);
    connect(m_pRedraw, &QTimer::timeout, this, &CTrainingChartView::Refresh);
    if (m_pModel)
        connect(m_pModel, &CTrainingChartModel::signal_Changed, this,
                [this]
                {
                    if (!m_pRedraw->isActive())
                        m_pRedraw->start();
                });
    Refresh();
}

QString CTrainingChartView::StatusText() const
{
    if (!m_pModel)
        return QString();
    const QString strMax = m_pModel->MaxBatches() > 0 ? QString::number(m_pModel->MaxBatches()) : QString("?");
    const double dblLeft = m_pModel->SecondsLeft();
    const QString strRun =
        QString("Iteration %1 / %2   Rate %3").arg(m_pModel->Iteration()).arg(strMax).arg(m_pModel->Rate(), 0, 'f', 6);
    // A stopped run has no time left; "?" would read as an estimate still to come.
    if (m_pModel->IsStopped())
        return strRun;
    return strRun + QString("   Time left %1").arg(dblLeft < 0.0 ? QString("?") : Duration(dblLeft));
}

QAbstractAxis* CTrainingChartView::GetLossAxis() const
{
    return m_pLogAxisBox->isChecked() ? static_cast<QAbstractAxis*>(m_pLogAxisY) : m_pAxisY;
}

void CTrainingChartView::slot_SetLogarithmic(bool bLogarithmic)
{
    QAbstractAxis* pOld = bLogarithmic ? static_cast<QAbstractAxis*>(m_pAxisY) : m_pLogAxisY;
    QAbstractAxis* pNew = GetLossAxis();
    for (QLineSeries* pSeries : {m_pLoss, m_pAverage})
    {
        pSeries->detachAxis(pOld);
        pSeries->attachAxis(pNew);
    }
    pOld->setVisible(false);
    pNew->setVisible(true);
    Refresh();
}

void CTrainingChartView::Refresh()
{
    m_pRedraw->stop();
    if (!m_pModel)
        return;
    // replace() hands the series all points at once: one redraw instead of one per point.
    m_pLoss->replace(m_pModel->LossPoints());
    m_pAverage->replace(m_pModel->AverageLossPoints());
    double dblMaxX = std::max(1, m_pModel->MaxBatches() > 0 ? std::min(m_pModel->MaxBatches(), m_pModel->Iteration())
                                                            : m_pModel->Iteration());
    dblMaxX = std::max(dblMaxX, m_pModel->LossPoints().isEmpty() ? 1.0 : m_pModel->LossPoints().last().x());
    m_pAxisX->setRange(0.0, dblMaxX);
    const SLossRange range = m_pModel->LossRange(m_pLogAxisBox->isChecked());
    if (m_pLogAxisBox->isChecked())
        m_pLogAxisY->setRange(range.dblMin, range.dblMax);
    else
        m_pAxisY->setRange(range.dblMin, range.dblMax);
    m_pStatus->setText(StatusText());
}
