#include "project/evaluation/CEvaluationTable.h"

namespace
{
constexpr int NAME_WIDTH = 20;

QString Figures(const QString& strName, const QString& strBoxes, const QString& strDetections, const QString& strAP50,
                const QString& strAP50To95, double dblPrecision, double dblRecall, double dblF1, int nTruePositives,
                int nFalsePositives, int nMissed)
{
    return QString("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10 %11")
        .arg(strName, -NAME_WIDTH)
        .arg(strBoxes, 7)
        .arg(strDetections, 10)
        .arg(strAP50, 7)
        .arg(strAP50To95, 10)
        .arg(dblPrecision, 9, 'f', 3)
        .arg(dblRecall, 7, 'f', 3)
        .arg(dblF1, 6, 'f', 3)
        .arg(nTruePositives, 6)
        .arg(nFalsePositives, 6)
        .arg(nMissed, 6);
}
} // namespace

QString CEvaluationTable::HeaderLine()
{
    return QString("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10 %11")
        .arg("Class", -NAME_WIDTH)
        .arg("Boxes", 7)
        .arg("Detections", 10)
        .arg("AP50", 7)
        .arg("AP50:95", 10)
        .arg("Precision", 9)
        .arg("Recall", 7)
        .arg("F1", 6)
        .arg("TP", 6)
        .arg("FP", 6)
        .arg("Missed", 6);
}

QStringList CEvaluationTable::Lines(const CEvaluationResult& result)
{
    QStringList lstLines{HeaderLine()};
    int nBoxes = 0;
    int nDetections = 0;
    for (const CClassFigures& figures : result.Classes)
    {
        nBoxes += figures.Boxes;
        nDetections += figures.Detections;
        const QString strAP50 = figures.HasBoxes() ? QString::number(figures.AP50, 'f', 3) : QString("-");
        const QString strAP50To95 = figures.HasBoxes() ? QString::number(figures.AP50To95, 'f', 3) : QString("-");
        lstLines << Figures(figures.Name, QString::number(figures.Boxes), QString::number(figures.Detections), strAP50,
                            strAP50To95, figures.Precision, figures.Recall, figures.F1, figures.TruePositives,
                            figures.FalsePositives, figures.Missed);
    }
    lstLines << Figures("all", QString::number(nBoxes), QString::number(nDetections), QString(), QString(),
                        result.Precision, result.Recall, result.F1, result.TruePositives, result.FalsePositives,
                        result.Missed);
    lstLines << QString("mAP@0.5 %1  mAP@0.5:0.95 %2  over %3 of %4 classes, %5 images, threshold %6")
                    .arg(result.MeanAP50, 0, 'f', 3)
                    .arg(result.MeanAP50To95, 0, 'f', 3)
                    .arg(result.ClassesInMean)
                    .arg(result.Classes.size())
                    .arg(result.ImageCount)
                    .arg(result.ScoreThreshold, 0, 'g', 3);
    return lstLines;
}
