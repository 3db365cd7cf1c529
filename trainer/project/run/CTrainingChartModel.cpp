#include "project/run/CTrainingChartModel.h"

#include "project/ECommandState.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
// Weight of the newest step time: steps vary (data loading, the odd slow batch), the estimate should not jump.
const double STEP_TIME_WEIGHT = 0.1;
// The loss range looks at this many newest points of each list; the newest few are always inside it.
const int RECENT_POINTS = 200;
const int NEWEST_POINTS = 20;

// The finite values of the last nCount points, those at or below 0 left out when bPositive.
void AppendRecent(const QVector<QPointF>& vctPoints, int nCount, bool bPositive, std::vector<double>& vctValues)
{
    for (int i = std::max(0, vctPoints.size() - nCount); i < vctPoints.size(); ++i)
    {
        const double dblY = vctPoints[i].y();
        if (std::isfinite(dblY) && (!bPositive || dblY > 0.0))
            vctValues.push_back(dblY);
    }
}
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
    m_bStopped = false;
    emit signal_Changed();
}

void CTrainingChartModel::slot_CommandStateChanged(int nState)
{
    if (nState != ECommandState_Stopped || m_bStopped)
        return;
    m_bStopped = true;
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
    // An estimate left on show after the run ended would read as a run still going.
    if (m_bStopped || m_dblStepSeconds < 0.0 || m_nMaxBatches <= 0)
        return -1.0;
    return m_dblStepSeconds * std::max(0, m_nMaxBatches - m_nIteration);
}

SLossRange CTrainingChartModel::LossRange(bool bLogarithmic) const
{
    std::vector<double> vctRecent;
    AppendRecent(m_vctLoss, RECENT_POINTS, bLogarithmic, vctRecent);
    AppendRecent(m_vctAverage, RECENT_POINTS, bLogarithmic, vctRecent);
    SLossRange range;
    if (vctRecent.empty())
    {
        if (bLogarithmic)
            range = {0.1, 10.0};
        return range;
    }
    std::sort(vctRecent.begin(), vctRecent.end());
    const double dblLast = static_cast<double>(vctRecent.size() - 1);
    double dblLow = vctRecent[static_cast<size_t>(std::floor(0.05 * dblLast))];
    double dblHigh = vctRecent[static_cast<size_t>(std::ceil(0.95 * dblLast))];
    // The percentiles drop the odd spike; the newest points are what the user is watching, spike or not.
    std::vector<double> vctNewest;
    AppendRecent(m_vctLoss, NEWEST_POINTS, bLogarithmic, vctNewest);
    AppendRecent(m_vctAverage, NEWEST_POINTS, bLogarithmic, vctNewest);
    for (const double dblValue : vctNewest)
    {
        dblLow = std::min(dblLow, dblValue);
        dblHigh = std::max(dblHigh, dblValue);
    }
    if (bLogarithmic)
        return {dblLow / 1.25, dblHigh * 1.25};
    const double dblMargin = dblHigh > dblLow ? 0.1 * (dblHigh - dblLow) : std::max(0.1 * std::fabs(dblHigh), 0.1);
    // A loss is not negative: the axis starts at 0 when the margin would reach below it.
    range.dblMin = dblLow >= 0.0 ? std::max(0.0, dblLow - dblMargin) : dblLow - dblMargin;
    range.dblMax = dblHigh + dblMargin;
    return range;
}
