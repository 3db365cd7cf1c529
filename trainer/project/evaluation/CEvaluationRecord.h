#pragma once

#include "project/evaluation/CEvaluationResult.h"
#include "project/evaluation/CEvaluationSummary.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>

// What is kept of one evaluation in the project folder: which weights, when, at which threshold, and the figures per
// class and overall (not the curves nor the image lists). Stored as one JSON object.
struct CEvaluationRecord : CEvaluationSummary
{
    QString WeightsPath;
    QDateTime Date;

    static CEvaluationRecord FromResult(const CEvaluationResult& result, const QString& strWeightsPath,
                                        const QDateTime& date);
    QByteArray ToJson() const;
    // False with the reason in strProblem when the bytes are not a record; record is then left unchanged.
    static bool FromJson(const QByteArray& json, CEvaluationRecord& record, QString& strProblem);
};
