#include "project/build/CBuildFileSet.h"

#include "project/build/CBuildDisk.h"
#include "project/build/CBuildJournal.h"

#include "frame/CLogger.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>

namespace
{
int s_nStepLimit = -1;
std::function<qint64(const QString&)> s_fnFreeSpace;

// The file system gives room by blocks: a file of a few bytes takes one whole block.
constexpr qint64 BLOCK_SIZE = 4096;
} // namespace

CBuildFileSet::CBuildFileSet(const QString& strJournalPath) : m_strJournalPath(strJournalPath) {}

CBuildFileSet::CBuildFileSet(const QString& strJournalPath, const QString& strManifestPath,
                             const std::function<bool(const QString&)>& fnOwnFile)
    : m_strJournalPath(strJournalPath), m_strDir(QFileInfo(strJournalPath).path() + '/'),
      m_strManifestPath(strManifestPath), m_fnOwnFile(fnOwnFile)
{
    m_bManifestRead = m_oldManifest.Read(strManifestPath);
    // Without a manifest this is a folder's first build: it creates nearly every file, and one listing of a folder
    // of many thousand entries costs less than asking for each name that is not there, twice.
    m_bListFolders = !m_bManifestRead;
}

CBuildFileSet::~CBuildFileSet()
{
    Discard();
}

QString CBuildFileSet::TemporaryPath(const QString& strPath)
{
    return strPath + ".building";
}

QString CBuildFileSet::PreviousPath(const QString& strPath)
{
    return strPath + ".previous";
}

void CBuildFileSet::SetStepLimit(int nSteps)
{
    s_nStepLimit = nSteps;
}

void CBuildFileSet::SetFreeSpaceProbe(std::function<qint64(const QString&)> fnProbe)
{
    s_fnFreeSpace = std::move(fnProbe);
}

bool CBuildFileSet::IsUnchanged(const QString& strPath, const QByteArray& baContent)
{
    QFile file(strPath);
    return file.size() == baContent.size() && file.open(QIODevice::ReadOnly) && file.readAll() == baContent;
}

QString CBuildFileSet::Relative(const QString& strPath) const
{
    return !m_strManifestPath.isEmpty() && strPath.startsWith(m_strDir) ? strPath.mid(m_strDir.size()) : QString();
}

bool CBuildFileSet::Write(const QString& strPath, const QByteArray& baContent)
{
    CBuildManifest::SEntry sOnDisk;
    bool bFolder = false;
    const bool bKnownAbsent = IsListedAbsent(strPath);
    const bool bOnDisk = !bKnownAbsent && CBuildManifest::Stat(strPath, sOnDisk, &bFolder);
    // A folder would be moved aside and put in place again as a file, leaving the folder behind under another name.
    if (bFolder)
    {
        m_strFailedPath = strPath;
        m_strFailedReason = "a folder stands where the file belongs";
        return false;
    }
    const quint64 nHash = CBuildManifest::Hash(baContent);
    if (m_setPaths.contains(strPath))
    {
        for (SFile& sFile : m_vctFiles)
        {
            if (sFile.strPath == strPath)
            {
                sFile.baContent = baContent;
                sFile.nHash = nHash;
            }
        }
        return true;
    }
    // Creating a file is by far the dearest step of a build; most label files come out as they were, and a file the
    // disk still shows as the last build left it need not even be read.
    const QString strRelative = Relative(strPath);
    const CBuildManifest::SEntry* pRecorded = strRelative.isEmpty() ? nullptr : m_oldManifest.Find(strRelative);
    const bool bAsRecorded = bOnDisk && pRecorded && CBuildManifest::SameOnDisk(*pRecorded, sOnDisk);
    if (bAsRecorded ? pRecorded->nHash == nHash && pRecorded->nSize == baContent.size()
                    : bOnDisk && sOnDisk.nSize == baContent.size() && IsUnchanged(strPath, baContent))
    {
        m_vctKept.push_back(strPath);
        NoteFolder(strPath);
        if (!strRelative.isEmpty())
        {
            // A file touched by hand but holding the same bytes is recorded afresh: the next build need not read it.
            m_bManifestChanged = m_bManifestChanged || !bAsRecorded;
            sOnDisk.nHash = nHash;
            m_newManifest.Set(strRelative, sOnDisk);
        }
        return true;
    }
    // A path kept before and written now stays in m_vctKept: both lists only tell which files are the set's.
    m_setPaths.insert(strPath);
    NoteFolder(strPath);
    // Holds the file's place in the manifest until Commit knows what the disk shows of it: the next build finds the
    // entries in the order it writes the files.
    SFile sFile;
    if (!strRelative.isEmpty())
        sFile.nManifestEntry = m_newManifest.Set(strRelative, CBuildManifest::SEntry());
    sFile.strPath = strPath;
    sFile.baContent = baContent;
    sFile.nHash = nHash;
    sFile.bKnownAbsent = bKnownAbsent;
    m_vctFiles.push_back(sFile);
    return true;
}

bool CBuildFileSet::IsListedAbsent(const QString& strPath)
{
    if (!m_bListFolders)
        return false;
    const int nSlash = strPath.lastIndexOf('/');
    const QString strFolder = strPath.left(nSlash);
    auto it = m_mapListings.find(strFolder);
    if (it == m_mapListings.end())
    {
        DIR* pDir = ::opendir(CBuildDisk::Native(strFolder).constData());
        // A folder that cannot be listed is asked file by file.
        if (!pDir)
            return false;
        QSet<QString> setNames;
        while (const dirent* pEntry = ::readdir(pDir))
            setNames.insert(QFile::decodeName(pEntry->d_name));
        ::closedir(pDir);
        it = m_mapListings.insert(strFolder, setNames);
    }
    return !it->contains(strPath.mid(nSlash + 1));
}

void CBuildFileSet::NoteFolder(const QString& strPath)
{
    // The files come folder by folder: one comparison per file, one set insert per folder.
    const int nSlash = strPath.lastIndexOf('/');
    if (m_strLastFolder.size() == nSlash && strPath.startsWith(m_strLastFolder))
        return;
    m_strLastFolder = strPath.left(nSlash);
    m_setFolders.insert(m_strLastFolder);
}

void CBuildFileSet::RemoveLeftovers() const
{
    const QByteArray baTemporary = CBuildDisk::Native(TemporaryPath(QString()));
    const QByteArray baPrevious = CBuildDisk::Native(PreviousPath(QString()));
    // Made only when a leftover turns up: a clean folder costs no set of every kept file.
    QSet<QString> setKept;
    bool bKeptMade = false;
    for (const QString& strFolder : m_setFolders)
    {
        DIR* pDir = ::opendir(CBuildDisk::Native(strFolder).constData());
        if (!pDir)
            continue;
        QStringList lstLeftovers;
        while (const dirent* pEntry = ::readdir(pDir))
        {
            const QByteArray baName = QByteArray::fromRawData(pEntry->d_name, int(std::strlen(pEntry->d_name)));
            const QByteArray& baSuffix = baName.endsWith(baTemporary) ? baTemporary : baPrevious;
            if (!baName.endsWith(baSuffix))
                continue;
            if (!bKeptMade)
            {
                setKept = QSet<QString>(m_vctKept.begin(), m_vctKept.end());
                bKeptMade = true;
            }
            const QString strBeside = strFolder + '/' + QFile::decodeName(baName.left(baName.size() - baSuffix.size()));
            if (m_setPaths.contains(strBeside) || setKept.contains(strBeside))
                lstLeftovers.append(strFolder + '/' + QFile::decodeName(baName));
        }
        ::closedir(pDir);
        for (const QString& strLeftover : lstLeftovers)
            CBuildDisk::RemoveEntry(strLeftover);
    }
}

void CBuildFileSet::PlanManifest()
{
    const QString& strDir = m_strDir;
    for (int i = 0; i < m_oldManifest.Count(); ++i)
    {
        // Every file written this time was looked up in the old manifest.
        if (m_oldManifest.WasAsked(i))
            continue;
        const QString& strRelative = m_oldManifest.PathAt(i);
        const QString strPath = strDir + strRelative;
        m_bManifestChanged = true;
        // A manifest may come with a project folder from elsewhere: it removes only what a build writes, and only a
        // file the disk still shows as the build left it (a copied folder gives every file a new number, a file
        // edited by hand has a new time): whatever else stands there is no longer the build's to take.
        CBuildManifest::SEntry sOnDisk;
        if (!QDir::cleanPath(strPath).startsWith(strDir) || (m_fnOwnFile && !m_fnOwnFile(strRelative)) ||
            !CBuildManifest::Stat(strPath, sOnDisk) || !CBuildManifest::SameOnDisk(m_oldManifest.EntryAt(i), sOnDisk))
            continue;
        SFile sFile;
        sFile.strPath = strPath;
        sFile.bRemove = true;
        m_setPaths.insert(strPath);
        m_vctFiles.push_back(sFile);
    }
    // A manifest in another order than the files were written (one of an older build) is written anew once, so that
    // the next build finds every entry without a lookup.
    if (m_vctFiles.empty() && !m_bManifestChanged && m_bManifestRead && m_oldManifest.IsInOrder())
        return;
    SFile sManifest;
    sManifest.strPath = m_strManifestPath;
    m_vctFiles.push_back(sManifest);
}

void CBuildFileSet::Discard()
{
    // Files of a commit that did not complete; after a complete one the list is empty.
    for (const SFile& sFile : m_vctFiles)
        CBuildDisk::RemoveEntry(sFile.bWrittenInPlace ? sFile.strPath : TemporaryPath(sFile.strPath));
    m_vctFiles.clear();
    m_setPaths.clear();
    m_vctKept.clear();
    // A listing tells nothing after a commit created its files.
    m_mapListings.clear();
    m_setFolders.clear();
    m_strLastFolder.clear();
}

void CBuildFileSet::Fail(const QString& strPath, int nError)
{
    m_strFailedPath = strPath;
    m_strFailedReason = CBuildDisk::Reason(nError);
}

bool CBuildFileSet::Step()
{
    if (s_nStepLimit < 0 || m_nSteps++ < s_nStepLimit)
        return true;
    // As a killed process would: every file stays as it is, for Recover to find.
    m_vctFiles.clear();
    m_setPaths.clear();
    m_strFailedPath = m_strJournalPath;
    m_strFailedReason = "stopped in the middle";
    return false;
}

bool CBuildFileSet::HasRoom()
{
    // Every changed file is written in full before the previous one goes: both copies are on the disk at once.
    qint64 nNeeded = BLOCK_SIZE;
    for (const SFile& sFile : m_vctFiles)
        nNeeded += (sFile.baContent.size() + BLOCK_SIZE - 1) / BLOCK_SIZE * BLOCK_SIZE;
    // The manifest is made last, from what the disk shows of the written files: a line of about a hundred bytes each.
    if (!m_strManifestPath.isEmpty())
        nNeeded += (qint64(m_newManifest.Count()) + qint64(m_vctFiles.size())) * 128;
    const QString strDir =
        QFileInfo(m_strJournalPath.isEmpty() ? m_vctFiles.front().strPath : m_strJournalPath).absolutePath();
    const qint64 nFree = s_fnFreeSpace ? s_fnFreeSpace(strDir) : QStorageInfo(strDir).bytesAvailable();
    // A file system that cannot tell is tried: a write that fails still says why.
    if (nFree < 0 || nFree >= nNeeded)
        return true;
    m_strFailedPath = strDir;
    m_strFailedReason =
        QString("the build needs %1 bytes of free space for its new files, %2 bytes are free").arg(nNeeded).arg(nFree);
    return false;
}

bool CBuildFileSet::WriteJournal(bool bNewInPlace)
{
    const QDir dir = QFileInfo(m_strJournalPath).absoluteDir();
    const QString strPrefix = dir.absolutePath() + '/';
    QByteArray baText =
        CBuildJournal::HEADER + '\n' + (bNewInPlace ? CBuildJournal::STATE_NEW : CBuildJournal::STATE_OLD) + '\n';
    for (const SFile& sFile : m_vctFiles)
    {
        // Nearly every file lies below the journal's folder: cutting the prefix spares a path comparison per file.
        const QString strRelative = sFile.strPath.startsWith(strPrefix) && !sFile.strPath.contains("/.")
                                        ? sFile.strPath.mid(strPrefix.size())
                                        : dir.relativeFilePath(sFile.strPath);
        baText += (sFile.bHadPrevious ? '+' : '-') + CBuildDisk::Native(strRelative).toPercentEncoding("/") + '\n';
    }
    // The journal is replaced in one rename: a reader finds the old state or the new one, never half a file.
    const QString strTemporary = TemporaryPath(m_strJournalPath);
    int nError = CBuildDisk::WriteNewFile(strTemporary, baText);
    if (nError == 0 && !CBuildDisk::Rename(strTemporary, m_strJournalPath))
    {
        nError = errno;
        CBuildDisk::RemoveEntry(strTemporary);
    }
    if (nError != 0)
    {
        Fail(m_strJournalPath, nError);
        return false;
    }
    CBuildDisk::SyncFolder(dir.absolutePath());
    return true;
}

QStringList CBuildFileSet::Folders() const
{
    // The files come folder by folder: a look at each path, and a file information only where the folder changes.
    QStringList lstFolders;
    QString strLast;
    for (const SFile& sFile : m_vctFiles)
    {
        const int nSlash = sFile.strPath.lastIndexOf('/');
        if (nSlash >= 0 && strLast.size() == nSlash && sFile.strPath.startsWith(strLast))
            continue;
        strLast = sFile.strPath.left(nSlash);
        const QString strDir = QFileInfo(sFile.strPath).absolutePath();
        if (!lstFolders.contains(strDir))
            lstFolders.append(strDir);
    }
    return lstFolders;
}

void CBuildFileSet::SyncFolders() const
{
    for (const QString& strDir : Folders())
        CBuildDisk::SyncFolder(strDir);
}

void CBuildFileSet::CleanUp()
{
    if (!m_strJournalPath.isEmpty() && m_lstFailedRestores.isEmpty() && CBuildDisk::RemoveEntry(m_strJournalPath) == 0)
        CBuildDisk::SyncFolder(QFileInfo(m_strJournalPath).absolutePath());
    Discard();
}

bool CBuildFileSet::Commit()
{
    m_lstFailedRestores.clear();
    m_nSteps = 0;
    // A folder with a manifest was built since journals are kept, and that build removed any leftovers: listing a
    // folder of many thousand images for them again costs more than the rest of a rebuild that changes nothing.
    if (!m_bManifestRead)
        RemoveLeftovers();
    if (!m_strManifestPath.isEmpty())
        PlanManifest();
    if (m_vctFiles.empty())
        return true;
    if (!HasRoom())
    {
        Discard();
        return false;
    }
    for (SFile& sFile : m_vctFiles)
    {
        // A previous file left by a build that ended before journals were kept is gone already (RemoveLeftovers).
        // A file that appeared since its folder was listed meets the exclusive create of a file written in place, and
        // the commit stops there with every file as it was.
        sFile.bHadPrevious = !sFile.bKnownAbsent && CBuildDisk::Exists(sFile.strPath);
    }
    // The journal comes first: whatever this commit leaves behind, the next Recover knows the files.
    if (!m_strJournalPath.isEmpty())
    {
        if (!Step())
            return false;
        if (!WriteJournal(false))
        {
            CleanUp();
            return false;
        }
    }
    for (SFile& sFile : m_vctFiles)
    {
        if (!Step())
            return false;
        if (sFile.bRemove)
            continue;
        // The manifest comes last: it records what the disk shows of every other file.
        const bool bManifest = !m_strManifestPath.isEmpty() && sFile.strPath == m_strManifestPath;
        if (bManifest)
            sFile.baContent = m_newManifest.Text();
        CBuildManifest::SEntry sWritten;
        // A file that had no previous version is written where it belongs: the journal lists it, so a failure or
        // an interrupted commit removes it as it would remove its temporary file, and a first build creates each
        // of its many files once instead of creating and renaming it.
        // Without a journal nothing would remove it after a crash: such a set keeps writing beside.
        const bool bInPlace = !sFile.bHadPrevious && !m_strJournalPath.isEmpty();
        const int nError = CBuildDisk::WriteNewFile(bInPlace ? sFile.strPath : TemporaryPath(sFile.strPath),
                                                    sFile.baContent, false, &sWritten, !bInPlace);
        sFile.bWrittenInPlace = bInPlace && nError == 0;
        const QString strRelative = bManifest ? QString() : Relative(sFile.strPath);
        if (nError == 0 && !strRelative.isEmpty())
        {
            sWritten.nHash = sFile.nHash;
            if (sFile.nManifestEntry != SIZE_MAX)
                m_newManifest.Update(sFile.nManifestEntry, sWritten);
            else
                m_newManifest.Set(strRelative, sWritten);
        }
        if (nError != 0)
        {
            Fail(sFile.strPath, nError);
            CleanUp();
            return false;
        }
        sFile.baContent = QByteArray();
    }
    // Data and names on the disk before any rename: after a power cut the renamed files are whole.
    // The folders are few (the project's and Images) and usually on one file system, whose second flush finds
    // nothing left to write.
    for (const QString& strDir : Folders())
    {
        if (const int nError = CBuildDisk::SyncFileSystem(strDir))
        {
            Fail(strDir, nError);
            CleanUp();
            return false;
        }
    }
    // Then every previous file goes aside: a file that cannot be moved (an unchangeable file, say) stops the build
    // before any new file is in place.
    for (size_t nMovedAside = 0; nMovedAside < m_vctFiles.size(); ++nMovedAside)
    {
        const SFile& sFile = m_vctFiles[nMovedAside];
        if (!Step())
            return false;
        if (sFile.bHadPrevious && !CBuildDisk::Rename(sFile.strPath, PreviousPath(sFile.strPath)))
        {
            Fail(sFile.strPath, errno);
            RollBack(0, nMovedAside);
            CleanUp();
            return false;
        }
    }
    for (size_t nPlaced = 0; nPlaced < m_vctFiles.size(); ++nPlaced)
    {
        const SFile& sFile = m_vctFiles[nPlaced];
        if (!Step())
            return false;
        if (!sFile.bRemove && !sFile.bWrittenInPlace &&
            !CBuildDisk::Rename(TemporaryPath(sFile.strPath), sFile.strPath))
        {
            Fail(sFile.strPath, errno);
            RollBack(nPlaced, m_vctFiles.size());
            CleanUp();
            return false;
        }
    }
    SyncFolders();
    // From here on the new set is the one: Recover keeps it. Where no file had a previous version there is nothing
    // left to delete, and the removal of the journal (CleanUp) is the point where the new set becomes the one: until
    // then Recover takes every new file back. A first build spares rewriting a journal of every file it made.
    const bool bAnyPrevious =
        std::any_of(m_vctFiles.begin(), m_vctFiles.end(), [](const SFile& sFile) { return sFile.bHadPrevious; });
    if (!m_strJournalPath.isEmpty() && (!Step() || (bAnyPrevious && !WriteJournal(true))))
    {
        if (!m_vctFiles.empty())
        {
            RollBack(m_vctFiles.size(), m_vctFiles.size());
            CleanUp();
        }
        return false;
    }
    for (const SFile& sFile : m_vctFiles)
    {
        if (!Step())
            return false;
        if (sFile.bHadPrevious)
            CBuildDisk::RemoveEntry(PreviousPath(sFile.strPath));
    }
    SyncFolders();
    if (!m_strJournalPath.isEmpty() && !Step())
        return false;
    m_vctFiles.clear();
    m_setPaths.clear();
    CleanUp();
    return true;
}

void CBuildFileSet::RollBack(size_t nPlaced, size_t nMovedAside)
{
    for (size_t i = nPlaced; i-- > 0;)
        CBuildDisk::RemoveEntry(m_vctFiles[i].strPath);
    for (size_t i = nMovedAside; i-- > 0;)
    {
        const SFile& sFile = m_vctFiles[i];
        if (sFile.bHadPrevious && !CBuildDisk::Rename(PreviousPath(sFile.strPath), sFile.strPath))
            m_lstFailedRestores.append(sFile.strPath);
    }
    SyncFolders();
}

bool CBuildFileSet::Recover(const QString& strJournalPath, const std::function<bool(const QString&)>& fnOwnFile)
{
    return CBuildJournal::Recover(strJournalPath, fnOwnFile);
}
