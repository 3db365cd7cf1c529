#include "project/evaluation/CEvaluationStore.h"

#include "project/store/CProjectLayout.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace
{
const QString FILE_SUFFIX = QStringLiteral(".json");
} // namespace

CEvaluationStore::CEvaluationStore(const QString& strFolder) : m_strFolder(strFolder) {}

QString CEvaluationStore::Save(const CEvaluationRecord& record, QString& strError) const
{
    QDir folder(m_strFolder);
    if (!folder.mkpath("."))
    {
        strError = QString("Cannot make the folder %1").arg(QDir::toNativeSeparators(m_strFolder));
        return QString();
    }
    QString strName = CProjectLayout::EvaluationFileName(record.Date);
    // "_2" sorts after ".json", so the later record of the same millisecond still reads as the newer.
    for (int nCopy = 2; folder.exists(strName); ++nCopy)
        strName = CProjectLayout::EvaluationFileName(record.Date).chopped(FILE_SUFFIX.size()) +
                  QString("_%1").arg(nCopy) + FILE_SUFFIX;
    const QString strPath = folder.filePath(strName);
    QSaveFile file(strPath);
    const QByteArray json = record.ToJson();
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.commit())
    {
        strError = QString("Cannot write %1: %2").arg(QDir::toNativeSeparators(strPath), file.errorString());
        return QString();
    }
    return strPath;
}

QVector<CEvaluationRecord> CEvaluationStore::LoadNewest(int nCount)
{
    m_lstSkipped.clear();
    QStringList lstNames =
        QDir(m_strFolder).entryList(QStringList(CProjectLayout::EVALUATION_FILES), QDir::Files, QDir::Name);
    QVector<CEvaluationRecord> records;
    for (int nName = lstNames.size() - 1; nName >= 0 && records.size() < nCount; --nName)
    {
        QFile file(QDir(m_strFolder).filePath(lstNames[nName]));
        QString strProblem;
        CEvaluationRecord record;
        if (!file.open(QIODevice::ReadOnly))
            strProblem = file.errorString();
        else if (CEvaluationRecord::FromJson(file.readAll(), record, strProblem))
            records.append(record);
        if (!strProblem.isEmpty())
            m_lstSkipped.append(lstNames[nName] + ": " + strProblem);
    }
    return records;
}
