#include "views/CCurveThinner.h"

#include <algorithm>
#include <cmath>

QVector<QPointF> CCurveThinner::Thin(const QVector<QPointF>& curve, int nMaxPoints)
{
    nMaxPoints = std::max(nMaxPoints, 3);
    if (curve.size() <= nMaxPoints)
        return curve;

    // A point followed by one of the same precision only splits a step in two.
    QVector<QPointF> corners;
    corners.append(curve.first());
    for (int i = 1; i < curve.size() - 1; ++i)
        if (curve[i].y() != curve[i + 1].y())
            corners.append(curve[i]);
    corners.append(curve.last());
    if (corners.size() <= nMaxPoints)
        return corners;

    // Stretches of equal recall width between the first and the last point; a stretch becomes one point at its last
    // recall with the precision that keeps its area. The mean of a falling precision over a later stretch is never
    // above that of an earlier one, so the thinned curve still never rises.
    const int nStretches = nMaxPoints - 2;
    const double dblFirst = corners.first().x();
    const double dblWidth = (corners.last().x() - dblFirst) / nStretches;
    auto stretchOf = [&](double dblRecall)
    { return dblWidth > 0.0 ? std::min(int((dblRecall - dblFirst) / dblWidth), nStretches - 1) : 0; };

    QVector<QPointF> thinned;
    thinned.append(corners.first());
    double dblStart = corners.first().x();
    double dblArea = 0.0;
    for (int i = 1; i < corners.size() - 1; ++i)
    {
        dblArea += (corners[i].x() - corners[i - 1].x()) * corners[i].y();
        const bool bStretchEnds =
            i + 1 == corners.size() - 1 || stretchOf(corners[i + 1].x()) != stretchOf(corners[i].x());
        if (!bStretchEnds)
            continue;
        const double dblSpan = corners[i].x() - dblStart;
        // A stretch without width adds no area; its last precision keeps the curve from rising.
        const double dblPrecision = dblSpan > 0.0 ? dblArea / dblSpan : corners[i].y();
        thinned.append(QPointF(corners[i].x(), dblPrecision));
        dblStart = corners[i].x();
        dblArea = 0.0;
    }
    thinned.append(corners.last());
    return thinned;
}

double CCurveThinner::Area(const QVector<QPointF>& curve)
{
    double dblArea = 0.0;
    double dblPrevious = 0.0;
    for (const QPointF& point : curve)
    {
        dblArea += (point.x() - dblPrevious) * point.y();
        dblPrevious = point.x();
    }
    return dblArea;
}

QVector<QPointF> CCurveThinner::Steps(const QVector<QPointF>& curve)
{
    QVector<QPointF> steps;
    steps.reserve(curve.size() * 2);
    double dblPrevious = 0.0;
    for (const QPointF& point : curve)
    {
        steps.append(QPointF(dblPrevious, point.y()));
        steps.append(point);
        dblPrevious = point.x();
    }
    return steps;
}
