#include "project/lifecycle/CProjectHistory.h"

#include "frame/CSetting.h"

#include <QStringList>

namespace
{
const char* const HISTORY_KEY = "GENERAL_PROGRAME_HISTORIES";
const int HISTORY_SIZE = 5;
} // namespace

void CProjectHistory::Add(const QString& strProjectFile)
{
    Write(strProjectFile, QString());
}

void CProjectHistory::Remove(const QString& strProjectFile)
{
    Write(QString(), strProjectFile);
}

void CProjectHistory::Write(const QString& strFirstEntry, const QString& strSkippedEntry)
{
    QStringList lstHistory;
    if (!strFirstEntry.isEmpty())
        lstHistory.append(strFirstEntry);
    const QStringList lstStored = CSetting::GetString(HISTORY_KEY, "").split(';');
    for (const QString& strEntry : lstStored)
    {
        if (strEntry.isEmpty() || strEntry == strSkippedEntry || lstHistory.contains(strEntry))
            continue;
        lstHistory.append(strEntry);
    }
    // An empty list is stored as an empty text, not as "no value".
    QString strHistory = QStringList(lstHistory.mid(0, HISTORY_SIZE)).join(';');
    if (strHistory.isNull())
        strHistory = QLatin1String("");
    CSetting::Set(HISTORY_KEY, strHistory);
}
