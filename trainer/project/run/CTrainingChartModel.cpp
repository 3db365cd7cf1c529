#include "project/run/CTrainingChartModel.h"

#include <algorithm>
#include <cmath>

namespace
{
// Weight of the newest step time: steps vary (data loading, the odd slow batch), the estimate should not jump.
const double STEP_TIME_WEIGHT = 0.1;
} // namespace

CTrainingChartModel::CTrainingChartModel(int nMaxPoints, QObject* pParent)
    : QObject(pParent), m_nMaxPoints(std::max(8, nMaxPoints))
{
}

void CTrainingChartModel::Clear(int nMaxBatches)
{
    m_vctLoss.clear();
    m_vctAverage.clear();
    m_nIteration = 0;
    m_nMaxBatches = std::max(0, nMaxBatches);
    m_nSummaries = 0;
    m_dblRate = 0.0;
    m_dblStepSeconds = -1.0;
    emit signal_Changed();
}

bool CTrainingChartModel::AddLine(const QString& strLine)
{
    STrainingSummary summary;
    if (!CTrainingSummaryParser::Parse(strLine, summary))
        return false;
    AddSummary(summary);
    return true;
}

void CTrainingChartModel::AddSummary(const STrainingSummary& summary)
{
    ++m_nSummaries;
    m_nIteration = summary.nIteration;
    m_dblRate = summary.dblRate;
    if (std::isfinite(summary.dblSeconds) && summary.dblSeconds >= 0.0)
        m_dblStepSeconds = m_dblStepSeconds < 0.0
                               ? summary.dblSeconds
                               : m_dblStepSeconds + STEP_TIME_WEIGHT * (summary.dblSeconds - m_dblStepSeconds);
    // A chart cannot place a point at infinity, and a restarted trainer counting from an earlier iteration would
    // break the ascending order the thinning relies on.
    const bool bAfterLast = m_vctLoss.isEmpty() || summary.nIteration > m_vctLoss.last().x();
    if (bAfterLast && std::isfinite(summary.dblLoss) && std::isfinite(summary.dblAverageLoss))
    {
        m_vctLoss.append(QPointF(summary.nIteration, summary.dblLoss));
        m_vctAverage.append(QPointF(summary.nIteration, summary.dblAverageLoss));
        if (m_vctLoss.size() >= m_nMaxPoints)
        {
            Thin(m_vctLoss);
            Thin(m_vctAverage);
        }
    }
    emit signal_Changed();
}

void CTrainingChartModel::Thin(QVector<QPointF>& vctPoints) const
{
    // Every other point of the old part goes, so a point's neighbours are ever further apart the older it is: the
    // whole run stays visible, with detail where the user looks.
    const int nOld = vctPoints.size() - m_nMaxPoints / 2;
    int nKept = 0;
    for (int i = 0; i < vctPoints.size(); ++i)
    {
        if (i < nOld && i % 2 == 1)
            continue;
        vctPoints[nKept++] = vctPoints[i];
    }
    vctPoints.resize(nKept);
}

double CTrainingChartModel::SecondsLeft() const
{
    if (m_dblStepSeconds < 0.0 || m_nMaxBatches <= 0)
        return -1.0;
    return m_dblStepSeconds * std::max(0, m_nMaxBatches - m_nIteration);
}
