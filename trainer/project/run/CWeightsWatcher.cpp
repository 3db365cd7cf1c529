#include "project/run/CWeightsWatcher.h"

#include "frame/CLogger.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>

CWeightsWatcher::CWeightsWatcher(QObject* pParent) : QObject(pParent)
{
    m_pWatcher = new QFileSystemWatcher(this);
    connect(m_pWatcher, &QFileSystemWatcher::directoryChanged, this, &CWeightsWatcher::Check);
}

void CWeightsWatcher::Start(const QString& strProjectDir, const QString& strFolder)
{
    Stop();
    m_strDir = strProjectDir + QDir::separator() + strFolder;
    m_strFolder = strFolder;
    m_mapBefore = Scan();
    m_setReported.clear();
    m_pWatcher->addPath(m_strDir);
}

void CWeightsWatcher::Stop()
{
    if (m_strDir.isEmpty())
        return;
    Check();
    if (!m_pWatcher->directories().isEmpty())
        m_pWatcher->removePaths(m_pWatcher->directories());
    m_strDir.clear();
    m_mapBefore.clear();
}

QHash<QString, QDateTime> CWeightsWatcher::Scan() const
{
    QHash<QString, QDateTime> mapFiles;
    const QFileInfoList lstFiles = QDir(m_strDir).entryInfoList({"*.weights"}, QDir::Files, QDir::Name);
    for (const QFileInfo& info : lstFiles)
        mapFiles.insert(info.fileName(), info.lastModified());
    return mapFiles;
}

void CWeightsWatcher::Check()
{
    if (m_strDir.isEmpty())
        return;
    const QHash<QString, QDateTime> mapNow = Scan();
    QStringList lstSaved;
    for (auto it = mapNow.constBegin(); it != mapNow.constEnd(); ++it)
    {
        // The folder signals when a file appears, not while it is written: a file is reported when it shows up,
        // however far its writing has come, and never again in this run.
        if (m_setReported.contains(it.key()))
            continue;
        const auto itBefore = m_mapBefore.constFind(it.key());
        if (itBefore == m_mapBefore.constEnd() || itBefore.value() != it.value())
            lstSaved.append(it.key());
    }
    lstSaved.sort();
    for (const QString& strName : lstSaved)
    {
        m_setReported.insert(strName);
        CLogger::Write(ELogLevel_Normal, "Weights saved: %s",
                       qUtf8Printable(m_strFolder + QDir::separator() + strName));
    }
}
