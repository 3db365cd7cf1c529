#pragma once

#include "project/build/CBuildManifest.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

// Replaces a set of files all together or not at all. Write only takes the new content; Commit checks that the disk
// has room for a second copy of every changed file, writes each in full to a temporary file beside it (created
// afresh, never through a link, and flushed to the disk; with a journal, a file that had no previous version is
// written where it belongs instead, listed in the journal as one to remove), moves the files it replaces aside, puts
// the new ones in place and only then deletes the old ones. When any step fails, every file already touched is put
// back, so the previous versions stay whole and no new file is left. With a journal, Commit records its progress there,
// so that Recover can make the set all-old or all-new again after the process was killed or the power failed during it.
// Whatever was not committed is discarded when the object goes.
class CBuildFileSet
{
public:
    // Without journal: an interrupted Commit cannot be put right afterwards.
    CBuildFileSet() = default;
    // The journal records each Commit's progress; every file of the set lies in the journal's folder or below it.
    explicit CBuildFileSet(const QString& strJournalPath);
    // With a manifest of the last Commit (see CBuildManifest), which every Commit that changes anything replaces
    // together with the other files: Write knows a file the disk still shows as the manifest recorded it without
    // reading it, and Commit removes each file the manifest lists that was not written this time, when fnOwnFile
    // (given the path relative to the journal's folder) accepts it and the disk still shows it as recorded. A Commit
    // that changes no file and finds every file as recorded touches nothing at all, the manifest included.
    CBuildFileSet(const QString& strJournalPath, const QString& strManifestPath,
                  const std::function<bool(const QString&)>& fnOwnFile);
    ~CBuildFileSet();
    CBuildFileSet(const CBuildFileSet&) = delete;
    CBuildFileSet& operator=(const CBuildFileSet&) = delete;

    // Takes the bytes that strPath is to hold; false (FailedPath names strPath, FailedReason says why) when strPath
    // is a folder. A file that already holds exactly these bytes is left alone, and temporary or previous files
    // found beside it are removed by Commit. A path given twice keeps the later content.
    bool Write(const QString& strPath, const QByteArray& baContent);
    // Puts every written file in place; false (FailedPath names the file or folder that failed, FailedReason says
    // why) leaves all target files as they were before. Only a put-back that fails as well can leave a mixture;
    // FailedRestores names those files then, and the journal stays for the next Recover.
    bool Commit();
    // Forgets the written content and deletes any temporary file.
    void Discard();

    QString FailedPath() const { return m_strFailedPath; }
    QString FailedReason() const { return m_strFailedReason; }
    QStringList FailedRestores() const { return m_lstFailedRestores; }

    static QString TemporaryPath(const QString& strPath);
    static QString PreviousPath(const QString& strPath);
    // Finishes what an interrupted Commit with this journal left: the old files come back unless every new one was
    // in place, in which case the new ones stay; then the temporary and previous files and the journal go. Logs
    // what it did; true when there was nothing to do or everything was put right. A journal may come with a project
    // folder from elsewhere: an entry outside the journal's folder, or one fnOwnFile (given the path relative to that
    // folder) does not accept, is never touched, and the journal stays.
    static bool Recover(const QString& strJournalPath,
                        const std::function<bool(const QString&)>& fnOwnFile = std::function<bool(const QString&)>());

    // Test seams. Commit stops after that many of its steps as a killed process would, leaving every file as it is
    // (negative: never stops).
    static void SetStepLimit(int nSteps);
    // Gives the free bytes of a folder in place of the file system (null: the file system's answer).
    static void SetFreeSpaceProbe(std::function<qint64(const QString&)> fnProbe);

private:
    struct SFile
    {
        QString strPath;
        QByteArray baContent;
        bool bHadPrevious = false;
        // Goes with the commit, and nothing takes its place.
        bool bRemove = false;
        // Written where it belongs rather than beside it (it had no previous version).
        bool bWrittenInPlace = false;
        // Its folder's listing, made when Write took it, had no entry of its name.
        bool bKnownAbsent = false;
        // The place Write held for it in the new manifest, if any.
        size_t nManifestEntry = SIZE_MAX;
        quint64 nHash = 0;
    };
    static bool IsUnchanged(const QString& strPath, const QByteArray& baContent);
    bool HasRoom();
    // The path relative to the journal's folder when a manifest is kept, else empty.
    QString Relative(const QString& strPath) const;
    // Removes the temporary and previous files that builds killed before journals (and manifests) were kept left
    // beside the set's files: one listing per folder, where looking for both beside each of many thousand files costs
    // more. Not needed where a manifest is found.
    void RemoveLeftovers() const;
    void NoteFolder(const QString& strPath);
    // True when the folder's listing, made on the first question about that folder, has no entry of the file's name;
    // false whenever a look at the file itself is needed. Lists only for a set that will create nearly every file.
    bool IsListedAbsent(const QString& strPath);
    // Adds the files the manifest lists that this commit does not write, and the manifest when it changes.
    void PlanManifest();
    // One step of Commit; false when the step limit stops it here.
    bool Step();
    bool WriteJournal(bool bNewInPlace);
    void Fail(const QString& strPath, int nError);
    // Moves the files moved aside back into place, newest first, after removing what was put in their stead.
    void RollBack(size_t nPlaced, size_t nMovedAside);
    // After a failed Commit: temporary files go, and so does the journal when nothing is left to put right.
    void CleanUp();
    // The folders of the files of this commit, each once.
    QStringList Folders() const;
    void SyncFolders() const;

    std::vector<SFile> m_vctFiles;
    QSet<QString> m_setPaths;
    QString m_strJournalPath;
    // The journal's folder with a separator: the manifest's paths are relative to it.
    QString m_strDir;
    // The files written with the bytes they held already (a path written twice may stand twice).
    std::vector<QString> m_vctKept;
    // The folders of every file written, for RemoveLeftovers.
    QSet<QString> m_setFolders;
    QString m_strLastFolder;
    // The entry names of each folder asked about, while m_bListFolders holds.
    QHash<QString, QSet<QString>> m_mapListings;
    bool m_bListFolders = false;
    QString m_strManifestPath;
    std::function<bool(const QString&)> m_fnOwnFile;
    CBuildManifest m_oldManifest;
    CBuildManifest m_newManifest;
    bool m_bManifestRead = false;
    bool m_bManifestChanged = false;
    QString m_strFailedPath;
    QString m_strFailedReason;
    QStringList m_lstFailedRestores;
    int m_nSteps = 0;
};
