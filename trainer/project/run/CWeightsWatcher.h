#pragma once

#include "project/store/CProjectLayout.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

class QFileSystemWatcher;

// Watches a run's backup folder and logs "Weights saved: %s" (the path below the project folder, e.g.
// "Backup/config_100.weights") once per ".weights" file the run writes: a file that appears, or a file that was there
// when watching began and is written again. Each file is reported at most once per run.
class CWeightsWatcher : public QObject
{
    Q_OBJECT
public:
    explicit CWeightsWatcher(QObject* pParent = nullptr);

    // Starts watching strProjectDir/strFolder, forgetting any earlier folder.
    void Start(const QString& strProjectDir, const QString& strFolder = CProjectLayout::BACKUP_FOLDER);
    // Looks once more (a file written just before the end is not missed), then stops watching.
    void Stop();
    // Compares the folder with what was seen last and logs what is new; called on every change of the folder.
    void Check();

private:
    // Each ".weights" file of the folder with its modification time.
    QHash<QString, QDateTime> Scan() const;

    QFileSystemWatcher* m_pWatcher = nullptr;
    QString m_strDir;
    QString m_strFolder;
    // The files there when watching began, as they were then.
    QHash<QString, QDateTime> m_mapBefore;
    QSet<QString> m_setReported;
};
