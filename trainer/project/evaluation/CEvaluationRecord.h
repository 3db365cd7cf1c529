#pragma once

#include "project/evaluation/CClassFigures.h"
#include "project/evaluation/CEvaluationResult.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>

// What is kept of one evaluation in the project folder: which weights, when, at which threshold, and the figures per
// class and overall (not the curves nor the image lists). Stored as one JSON object.
struct CEvaluationRecord
{
    QString WeightsPath;
    QDateTime Date;
    double ScoreThreshold = 0.0;
    int ImageCount = 0;
    QVector<CClassFigures> Classes;
    double MeanAP50 = 0.0;
    double MeanAP50To95 = 0.0;
    int ClassesInMean = 0;
    double Precision = 0.0;
    double Recall = 0.0;
    double F1 = 0.0;
    int TruePositives = 0;
    int FalsePositives = 0;
    int Missed = 0;

    static CEvaluationRecord FromResult(const CEvaluationResult& result, const QString& strWeightsPath,
                                        const QDateTime& date);
    QByteArray ToJson() const;
    // False with the reason in strProblem when the bytes are not a record; record is then left unchanged.
    static bool FromJson(const QByteArray& json, CEvaluationRecord& record, QString& strProblem);
};
