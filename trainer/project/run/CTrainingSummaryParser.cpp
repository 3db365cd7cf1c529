#include "project/run/CTrainingSummaryParser.h"

#include <QRegularExpression>

#include <cerrno>
#include <cstdlib>

namespace
{
// strtod, unlike QString::toDouble, reads "-nan" the way the trainer's printf writes it.
bool ToDouble(const QString& strText, double& dblValue)
{
    const QByteArray baText = strText.toLatin1();
    char* pEnd = nullptr;
    errno = 0;
    const double dblRead = std::strtod(baText.constData(), &pEnd);
    if (pEnd != baText.constData() + baText.size() || baText.isEmpty() || errno == ERANGE)
        return false;
    dblValue = dblRead;
    return true;
}
} // namespace

bool CTrainingSummaryParser::Parse(const QString& strLine, STrainingSummary& summary)
{
    static const QRegularExpression reSummary("^\\s*(\\d{1,9}):\\s*(\\S+),\\s*(\\S+)\\s+avg(?: "
                                              "loss)?,\\s*(\\S+)\\s+rate,\\s*(\\S+)\\s+seconds,\\s*(\\d{1,18})"
                                              "\\s+images\\b");
    const QRegularExpressionMatch match = reSummary.match(strLine);
    if (!match.hasMatch())
        return false;
    STrainingSummary read;
    read.nIteration = match.captured(1).toInt();
    read.nImages = match.captured(6).toLongLong();
    if (!ToDouble(match.captured(2), read.dblLoss) || !ToDouble(match.captured(3), read.dblAverageLoss) ||
        !ToDouble(match.captured(4), read.dblRate) || !ToDouble(match.captured(5), read.dblSeconds))
        return false;
    summary = read;
    return true;
}
