#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// The files of one export below its destination folder. Each file is written whole or not at all: it appears under
// its name only once all its bytes are on the disk, so a full disk or a missing permission never leaves a shortened
// file that looks complete. Written files wait under a hidden name beside their own until Commit flushes them all at
// once and renames them (one flush for ten thousand annotation files rather than one each); a copied image is put in
// place by QSaveFile at once. The first failure is kept (Failure) and every later call does nothing, so a writer may
// check once at its end. RemoveWritten takes away what this export made, for a failed or cancelled one.
class CExportFiles
{
public:
    enum ECopy
    {
        Copied,
        SourceUnreadable, // the image could not be read: nothing was written and the export goes on
        Failed            // the destination could not take the copy: see Failure
    };

    explicit CExportFiles(const QString& strDestination);

    // The absolute path of an entry by its path relative to the destination.
    QString Path(const QString& strRelative) const;
    // Makes the folder with its parents; false when it cannot.
    bool MakeFolder(const QString& strRelative);
    // The file waits for Commit under a hidden name.
    bool Write(const QString& strRelative, const QByteArray& baContent);
    // Flushes every waiting file to the disk, then gives each its name; false at the first that cannot have it.
    bool Commit();
    ECopy Copy(const QString& strSource, const QString& strRelative);

    bool HasFailed() const { return !m_strFailure.isEmpty(); }
    // "Cannot write <path>: <the system's reason>", empty while nothing failed.
    QString Failure() const { return m_strFailure; }
    // Removes the files written and the folders made by this export, the newest first; folders only when empty.
    void RemoveWritten();

private:
    void Fail(const QString& strPath, const QString& strReason);

    QString m_strDestination;
    QStringList m_lstWritten;
    // Waiting files: the hidden name, then the file's own.
    std::vector<std::pair<QString, QString>> m_vctWaiting;
    QStringList m_lstFolders;
    QString m_strFailure;
};
