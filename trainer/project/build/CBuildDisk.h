#pragma once

#include "project/build/CBuildManifest.h"

#include <QByteArray>
#include <QString>

// The few file system calls a build's files go through, each on the entry itself and never through a link planted
// at its path. Errors are the system's error numbers, 0 for success.
class CBuildDisk
{
public:
    static QByteArray Native(const QString& strPath);
    // The system's words for an error number.
    static QString Reason(int nError);
    // Replaces an existing target in one step.
    static bool Rename(const QString& strFrom, const QString& strTo);
    // A link counts as there even when it leads nowhere.
    static bool Exists(const QString& strPath);
    // Removes whatever file or link stands at the path; 0 when nothing stands there now.
    static int RemoveEntry(const QString& strPath);
    // Creates the file afresh with these bytes (on the disk when bSync); on failure no file is left. pWritten
    // receives what the disk shows of the new file. Whatever stands at the path is removed first, unless bReplace is
    // false: the error is then EEXIST and it stays.
    static int WriteNewFile(const QString& strPath, const QByteArray& baContent, bool bSync = true,
                            CBuildManifest::SEntry* pWritten = nullptr, bool bReplace = true);
    // Flushes everything written on the file system of the folder.
    static int SyncFileSystem(const QString& strDir);
    // Flushes the folder's names, so that a rename in it is on the disk.
    static void SyncFolder(const QString& strDir);
};
