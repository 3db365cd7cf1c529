#pragma once

#include <QPointF>
#include <QVector>
#include <QWidget>

#include "project/evaluation/CClassFigures.h"

namespace QtCharts
{
class QChart;
class QLineSeries;
} // namespace QtCharts

// The precision-recall curves of an evaluation at IoU 0.5, one line of the class's colour per class with boxes, drawn
// as steps and thinned to at most MAX_POINTS points each. One class may be emphasised: drawn thick, the others faint.
class CPrecisionRecallChart : public QWidget
{
    Q_OBJECT
public:
    static constexpr int MAX_POINTS = 300;

    explicit CPrecisionRecallChart(QWidget* pParent = nullptr);

    // curves is parallel to classes; a class's colour is that of its index in the class table.
    void SetCurves(const QVector<CClassFigures>& classes, const QVector<QVector<QPointF>>& curves);
    void Clear();
    // The class of that index in the table drawn over the others; -1 draws them all alike.
    void Emphasise(int nClassIndex);
    // The line of the class of that index, null for a class without boxes.
    QtCharts::QLineSeries* SeriesOf(int nClassIndex) const;

private:
    QtCharts::QChart* m_pChart = nullptr;
    // By class index.
    QVector<QtCharts::QLineSeries*> m_vctSeries;
};
