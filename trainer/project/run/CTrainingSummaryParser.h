#pragma once

#include <QString>

// One iteration summary of the trainer, as printed after each training step.
struct STrainingSummary
{
    int nIteration = 0;
    double dblLoss = 0.0;
    double dblAverageLoss = 0.0;
    double dblRate = 0.0;
    // How long this one step took.
    double dblSeconds = 0.0;
    // Images seen since the run began.
    qint64 nImages = 0;
};

// Reads the trainer's iteration summary lines: "N: loss, avg avg, rate rate, s seconds, k images" (also with
// "avg loss" for "avg", and with more text after "images", as later trainers print). Losses may be "nan", "-nan" or
// "inf": such a line still parses, with the value as printed. Pure.
class CTrainingSummaryParser
{
public:
    // True and the fields filled when the line (leading and trailing blanks allowed) is a summary line; false and
    // the summary untouched otherwise.
    static bool Parse(const QString& strLine, STrainingSummary& summary);
};
