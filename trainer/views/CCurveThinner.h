#pragma once

#include <QPointF>
#include <QVector>

// Thins a precision-recall curve for drawing. The curve is read as the evaluator gives it: points (recall, precision)
// in rank order, recall never falling and precision never rising, each point standing for a step of its precision from
// the recall of the point before (0 for the first) to its own. Thinning keeps the first and the last point as they are
// and the area under the steps (the AP), so the drawn curve tells the same AP as the table.
class CCurveThinner
{
public:
    // At most nMaxPoints points (at least 3 are kept); a curve that fits is returned unchanged. Points inside a plateau
    // of one precision are dropped first, as that loses nothing; if that is not enough, the points left are merged by
    // stretches of recall, each stretch drawn at its mean precision.
    static QVector<QPointF> Thin(const QVector<QPointF>& curve, int nMaxPoints);
    // The area under the steps: the sum of (recall - previous recall) * precision.
    static double Area(const QVector<QPointF>& curve);
    // The corners to draw the steps with a line: for each point, one at the previous recall and one at its own.
    static QVector<QPointF> Steps(const QVector<QPointF>& curve);
};
