#pragma once

#include "project/run/CTrainingSummaryParser.h"

#include <QObject>
#include <QPointF>
#include <QVector>

// The figures of the running training for its chart: loss and average loss per iteration, the current iteration,
// the iteration the run ends at, the learning rate and an estimate of the time left. It only reads the trainer's
// output lines; lines that are not iteration summaries are ignored.
//
// The point lists stay short however long the run: once they hold the point limit, the points older than the newest
// half of the limit are thinned to every other one. The first point and the newest half of the limit are always kept,
// and the iterations stay in ascending order. Losses that are not finite (a diverged step prints "nan") count as an
// iteration but add no point.
// The loss axis range a chart needs to show the recent points; the first iterations' losses may lie above it.
struct SLossRange
{
    double dblMin = 0.0;
    double dblMax = 1.0;
};

class CTrainingChartModel : public QObject
{
    Q_OBJECT
public:
    // nMaxPoints: the most points each list holds (at least 8).
    explicit CTrainingChartModel(int nMaxPoints = 2000, QObject* pParent = nullptr);

    // Forgets the points and figures of the last run; nMaxBatches is the new run's last iteration (0 when unknown).
    // Emits signal_Changed.
    void Clear(int nMaxBatches);
    // Takes one output line of the trainer; true when it was a summary line. Emits signal_Changed for each summary.
    bool AddLine(const QString& strLine);
    void AddSummary(const STrainingSummary& summary);

    const QVector<QPointF>& LossPoints() const { return m_vctLoss; }
    const QVector<QPointF>& AverageLossPoints() const { return m_vctAverage; }
    int Iteration() const { return m_nIteration; }
    int MaxBatches() const { return m_nMaxBatches; }
    double Rate() const { return m_dblRate; }
    // Estimated seconds until the last iteration, from the recent step times; negative while unknown (no step yet,
    // or no last iteration known) and once the run has stopped.
    double SecondsLeft() const;
    bool IsStopped() const { return m_bStopped; }
    // A loss range that holds the 5th to 95th percentile of the recent points of both lists and every one of the
    // newest points, with a margin: the first iterations' huge losses do not flatten what the user watches. For a
    // logarithmic axis both ends are above 0 (points at or below 0 are left out).
    SLossRange LossRange(bool bLogarithmic) const;
    // Summary lines taken since the last Clear.
    int Summaries() const { return m_nSummaries; }

signals:
    void signal_Changed();

public slots:
    // From the run (CTrainingRun::signal_CommandStateChanged): a stopped run has no time left; the points stay.
    // Emits signal_Changed when the run stops.
    void slot_CommandStateChanged(int nState);

private:
    void Thin(QVector<QPointF>& vctPoints) const;

    int m_nMaxPoints;
    QVector<QPointF> m_vctLoss;
    QVector<QPointF> m_vctAverage;
    int m_nIteration = 0;
    int m_nMaxBatches = 0;
    int m_nSummaries = 0;
    double m_dblRate = 0.0;
    // Exponential average of the step times; negative before the first step.
    double m_dblStepSeconds = -1.0;
    bool m_bStopped = false;
};
