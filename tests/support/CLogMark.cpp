#include "CLogMark.h"

#include "frame/CLogModel.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

void CLogMark::Mark()
{
    CLogModel::GetInstance().Flush();
    m_strFile = CLogModel::GetInstance().CurrentFileName();
    m_nStart = QFileInfo(m_strFile).size();
}

QStringList CLogMark::Lines() const
{
    CLogModel::GetInstance().Flush();
    QFile file(CLogModel::GetInstance().CurrentFileName());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString strText = QString::fromUtf8(file.readAll().mid(file.fileName() == m_strFile ? m_nStart : 0));
    if (strText.endsWith('\n'))
        strText.chop(1);
    if (strText.isEmpty())
        return {};
    return strText.replace(QRegularExpression("\\]\\[[-\\d: ]+\\] "), "] ").split('\n');
}
