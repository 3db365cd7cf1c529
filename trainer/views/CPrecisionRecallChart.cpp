#include "views/CPrecisionRecallChart.h"

#include "project/classes/CClassColours.h"
#include "views/CCurveThinner.h"

#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

using namespace QtCharts;

namespace
{
const qreal LINE_WIDTH = 1.5;
const qreal EMPHASISED_WIDTH = 3.5;
// Lines behind the chosen one keep their colour but step back.
const int FAINT_ALPHA = 70;
} // namespace

CPrecisionRecallChart::CPrecisionRecallChart(QWidget* pParent) : QWidget(pParent)
{
    m_pChart = new QChart();
    m_pChart->setTheme(QChart::ChartThemeDark);
    auto* pAxisX = new QValueAxis(m_pChart);
    pAxisX->setTitleText("Recall");
    pAxisX->setRange(0.0, 1.0);
    auto* pAxisY = new QValueAxis(m_pChart);
    pAxisY->setTitleText("Precision");
    pAxisY->setRange(0.0, 1.0);
    m_pChart->addAxis(pAxisX, Qt::AlignBottom);
    m_pChart->addAxis(pAxisY, Qt::AlignLeft);

    auto* pView = new QChartView(m_pChart, this);
    pView->setRenderHint(QPainter::Antialiasing);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(pView);
}

void CPrecisionRecallChart::Clear()
{
    m_pChart->removeAllSeries();
    m_vctSeries.clear();
}

void CPrecisionRecallChart::SetCurves(const QVector<CClassFigures>& classes, const QVector<QVector<QPointF>>& curves)
{
    Clear();
    m_vctSeries.fill(nullptr, classes.size());
    const QList<QAbstractAxis*> axes = m_pChart->axes();
    for (int nClass = 0; nClass < classes.size() && nClass < curves.size(); ++nClass)
    {
        if (!classes[nClass].HasBoxes())
            continue;
        auto* pSeries = new QLineSeries(m_pChart);
        pSeries->setName(classes[nClass].Name);
        pSeries->replace(CCurveThinner::Steps(CCurveThinner::Thin(curves[nClass], MAX_POINTS)).toList());
        m_pChart->addSeries(pSeries);
        for (QAbstractAxis* pAxis : axes)
            pSeries->attachAxis(pAxis);
        m_vctSeries[nClass] = pSeries;
    }
    Emphasise(-1);
}

void CPrecisionRecallChart::Emphasise(int nClassIndex)
{
    for (int nClass = 0; nClass < m_vctSeries.size(); ++nClass)
    {
        QLineSeries* pSeries = m_vctSeries[nClass];
        if (!pSeries)
            continue;
        QColor colour = CClassColours::OfIndex(nClass);
        qreal dblWidth = LINE_WIDTH;
        if (nClass == nClassIndex)
            dblWidth = EMPHASISED_WIDTH;
        else if (nClassIndex >= 0)
            colour.setAlpha(FAINT_ALPHA);
        QPen pen(colour);
        pen.setWidthF(dblWidth);
        pSeries->setPen(pen);
        // Drawn last, so it lies over the others.
        if (nClass == nClassIndex)
        {
            m_pChart->removeSeries(pSeries);
            m_pChart->addSeries(pSeries);
            for (QAbstractAxis* pAxis : m_pChart->axes())
                pSeries->attachAxis(pAxis);
        }
    }
}

QLineSeries* CPrecisionRecallChart::SeriesOf(int nClassIndex) const
{
    return nClassIndex >= 0 && nClassIndex < m_vctSeries.size() ? m_vctSeries[nClassIndex] : nullptr;
}
