#include "project/evaluation/CEvaluationRecord.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace
{
const int FORMAT_VERSION = 1;

// Reads the keys a record needs, remembering the first that is missing or of the wrong type.
class CJsonReader
{
public:
    explicit CJsonReader(const QJsonObject& object, const QString& strWhere = QString())
        : m_object(object), m_strWhere(strWhere)
    {
    }

    double Number(const QString& strKey)
    {
        const QJsonValue value = m_object.value(strKey);
        if (!value.isDouble())
            Fail(strKey, "a number");
        return value.toDouble();
    }
    int Count(const QString& strKey) { return int(Number(strKey)); }
    QString Text(const QString& strKey)
    {
        const QJsonValue value = m_object.value(strKey);
        if (!value.isString())
            Fail(strKey, "a string");
        return value.toString();
    }
    QJsonArray Array(const QString& strKey)
    {
        const QJsonValue value = m_object.value(strKey);
        if (!value.isArray())
            Fail(strKey, "an array");
        return value.toArray();
    }
    void Fail(const QString& strKey, const QString& strExpected)
    {
        if (m_strProblem.isEmpty())
            m_strProblem = QString("\"%1\"%2 is not %3").arg(strKey, m_strWhere, strExpected);
    }
    QString Problem() const { return m_strProblem; }

private:
    QJsonObject m_object;
    QString m_strWhere;
    QString m_strProblem;
};
} // namespace

CEvaluationRecord CEvaluationRecord::FromResult(const CEvaluationResult& result, const QString& strWeightsPath,
                                                const QDateTime& date)
{
    CEvaluationRecord record;
    record.WeightsPath = strWeightsPath;
    record.Date = date;
    static_cast<CEvaluationSummary&>(record) = result;
    return record;
}

QByteArray CEvaluationRecord::ToJson() const
{
    QJsonArray classes;
    for (const CClassFigures& figures : Classes)
    {
        classes.append(QJsonObject{{"name", figures.Name},
                                   {"boxes", figures.Boxes},
                                   {"detections", figures.Detections},
                                   {"ap50", figures.AP50},
                                   {"ap50_95", figures.AP50To95},
                                   {"precision", figures.Precision},
                                   {"recall", figures.Recall},
                                   {"f1", figures.F1},
                                   {"true_positives", figures.TruePositives},
                                   {"false_positives", figures.FalsePositives},
                                   {"missed", figures.Missed}});
    }
    const QJsonObject root{{"version", FORMAT_VERSION},
                           {"weights", WeightsPath},
                           // UTC with milliseconds, so that records made in one second still sort.
                           {"date", Date.toUTC().toString(Qt::ISODateWithMs)},
                           {"threshold", ScoreThreshold},
                           {"images", ImageCount},
                           {"map50", MeanAP50},
                           {"map50_95", MeanAP50To95},
                           {"classes_in_mean", ClassesInMean},
                           {"precision", Precision},
                           {"recall", Recall},
                           {"f1", F1},
                           {"true_positives", TruePositives},
                           {"false_positives", FalsePositives},
                           {"missed", Missed},
                           {"classes", classes}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool CEvaluationRecord::FromJson(const QByteArray& json, CEvaluationRecord& record, QString& strProblem)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
    {
        strProblem = QString("not JSON (%1 at byte %2)").arg(error.errorString()).arg(error.offset);
        return false;
    }
    if (!document.isObject())
    {
        strProblem = "not a JSON object";
        return false;
    }
    CJsonReader reader(document.object());
    CEvaluationRecord read;
    if (reader.Count("version") > FORMAT_VERSION)
    {
        strProblem = "written by a newer version of the program";
        return false;
    }
    read.WeightsPath = reader.Text("weights");
    read.Date = QDateTime::fromString(reader.Text("date"), Qt::ISODateWithMs);
    read.ScoreThreshold = reader.Number("threshold");
    read.ImageCount = reader.Count("images");
    read.MeanAP50 = reader.Number("map50");
    read.MeanAP50To95 = reader.Number("map50_95");
    read.ClassesInMean = reader.Count("classes_in_mean");
    read.Precision = reader.Number("precision");
    read.Recall = reader.Number("recall");
    read.F1 = reader.Number("f1");
    read.TruePositives = reader.Count("true_positives");
    read.FalsePositives = reader.Count("false_positives");
    read.Missed = reader.Count("missed");
    const QJsonArray classes = reader.Array("classes");
    if (reader.Problem().isEmpty() && !read.Date.isValid())
        reader.Fail("date", "a date");
    for (int nClass = 0; nClass < classes.size() && reader.Problem().isEmpty(); ++nClass)
    {
        if (!classes[nClass].isObject())
        {
            reader.Fail(QString("classes[%1]").arg(nClass), "an object");
            break;
        }
        CJsonReader classReader(classes[nClass].toObject(), QString(" of class %1").arg(nClass));
        CClassFigures figures;
        figures.Name = classReader.Text("name");
        figures.Boxes = classReader.Count("boxes");
        figures.Detections = classReader.Count("detections");
        figures.AP50 = classReader.Number("ap50");
        figures.AP50To95 = classReader.Number("ap50_95");
        figures.Precision = classReader.Number("precision");
        figures.Recall = classReader.Number("recall");
        figures.F1 = classReader.Number("f1");
        figures.TruePositives = classReader.Count("true_positives");
        figures.FalsePositives = classReader.Count("false_positives");
        figures.Missed = classReader.Count("missed");
        if (!classReader.Problem().isEmpty())
        {
            strProblem = classReader.Problem();
            return false;
        }
        read.Classes.append(figures);
    }
    if (!reader.Problem().isEmpty())
    {
        strProblem = reader.Problem();
        return false;
    }
    record = read;
    return true;
}
