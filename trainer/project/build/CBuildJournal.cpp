#include "project/build/CBuildJournal.h"

#include "project/build/CBuildDisk.h"
#include "project/build/CBuildFileSet.h"

#include "frame/CLogger.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

const QByteArray CBuildJournal::HEADER = "ovrel build journal 1";
const QByteArray CBuildJournal::STATE_OLD = "old";
const QByteArray CBuildJournal::STATE_NEW = "new";

bool CBuildJournal::Recover(const QString& strJournalPath, const std::function<bool(const QString&)>& fnOwnFile)
{
    CBuildDisk::RemoveEntry(CBuildFileSet::TemporaryPath(strJournalPath));
    if (!CBuildDisk::Exists(strJournalPath))
        return true;
    const QByteArray baJournalPath = CBuildDisk::Native(strJournalPath);
    QFile file(strJournalPath);
    QList<QByteArray> lstLines;
    if (file.open(QIODevice::ReadOnly))
        lstLines = file.readAll().split('\n');
    file.close();
    if (lstLines.size() < 2 || lstLines[0] != HEADER || (lstLines[1] != STATE_OLD && lstLines[1] != STATE_NEW))
    {
        CLogger::Write(ELogLevel_Error, "Cannot read the build journal %s: the build files may mix two builds",
                       baJournalPath.constData());
        return false;
    }
    const bool bNewInPlace = lstLines[1] == STATE_NEW;
    const QString strDir = QFileInfo(strJournalPath).absolutePath();
    bool bDone = true;
    QSet<QString> setFolders = {strDir};
    for (const QByteArray& baLine : lstLines.mid(2))
    {
        if (baLine.isEmpty())
            continue;
        const QString strPath =
            QDir::cleanPath(strDir + '/' + QFile::decodeName(QByteArray::fromPercentEncoding(baLine.mid(1))));
        // A journal that names a file outside the project folder, or none the commit writes, is no journal of ours.
        if (!strPath.startsWith(strDir + '/') || (fnOwnFile && !fnOwnFile(strPath.mid(strDir.size() + 1))))
        {
            bDone = false;
            continue;
        }
        setFolders.insert(QFileInfo(strPath).absolutePath());
        CBuildDisk::RemoveEntry(CBuildFileSet::TemporaryPath(strPath));
        if (bNewInPlace)
            bDone = CBuildDisk::RemoveEntry(CBuildFileSet::PreviousPath(strPath)) == 0 && bDone;
        else if (baLine.startsWith('+'))
            bDone = (!CBuildDisk::Exists(CBuildFileSet::PreviousPath(strPath)) ||
                     CBuildDisk::Rename(CBuildFileSet::PreviousPath(strPath), strPath)) &&
                    bDone;
        else
            bDone = CBuildDisk::RemoveEntry(strPath) == 0 && bDone;
    }
    for (const QString& strFolder : setFolders)
        CBuildDisk::SyncFolder(strFolder);
    if (!bDone)
    {
        CLogger::Write(ELogLevel_Error,
                       "Could not finish the interrupted build of the journal %s; it stays for the "
                       "next try",
                       baJournalPath.constData());
        return false;
    }
    CBuildDisk::RemoveEntry(strJournalPath);
    CBuildDisk::SyncFolder(strDir);
    CLogger::Write(ELogLevel_Warning,
                   bNewInPlace ? "An interrupted build was completed: its files are in place"
                               : "An interrupted build was taken back: the files of the build before it are in place");
    return true;
}
