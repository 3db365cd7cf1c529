#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// What a build left in each of its files: the size, modification time and file number the disk gave the file as the
// build wrote it, and a hash of its bytes. A file the disk still shows with the same size, time and number holds the
// bytes the build wrote, so the next build tells an unchanged file without reading it; a file deleted or edited by
// hand shows otherwise and is compared in full. Paths are relative to the folder of the manifest.
class CBuildManifest
{
public:
    struct SEntry
    {
        qint64 nSize = -1;
        qint64 nSeconds = 0;
        qint64 nNanoseconds = 0;
        quint64 nFileNumber = 0;
        quint64 nHash = 0;
    };

    // False, with no entries, when the file is missing or is no manifest: every file is then compared in full.
    bool Read(const QString& strPath);
    // One line per path, in the order the entries were first set; a path set twice keeps its last entry.
    QByteArray Text() const;

    // The entry of the path, or null; marks it as asked for (see WasAsked). A build writes its files in the order of
    // the last one, which is the manifest's order: the entry after the last one found is tried first, so that a pass
    // over every file needs no lookup.
    const SEntry* Find(const QString& strRelative) const;
    // Adds an entry and returns its number; a later Set of the same path replaces it.
    size_t Set(const QString& strRelative, const SEntry& sEntry);
    // Replaces the entry that Set numbered nEntry, keeping its path and place.
    void Update(size_t nEntry, const SEntry& sEntry) { m_vctEntries[nEntry].sEntry = sEntry; }
    // The entries as read or set, a path set twice counted twice.
    int Count() const { return static_cast<int>(m_vctEntries.size()); }
    const QString& PathAt(int i) const { return m_vctEntries[size_t(i)].strPath; }
    const SEntry& EntryAt(int i) const { return m_vctEntries[size_t(i)].sEntry; }
    // False once Find found an entry away from where the order put it: written anew, the manifest takes the order
    // of this build.
    bool IsInOrder() const { return !m_bOutOfOrder; }
    // Whether Find found entry i.
    bool WasAsked(int i) const { return m_vctEntries[size_t(i)].bAsked; }

    // 64-bit FNV-1a: the same bytes give the same number in every run and on every machine.
    static quint64 Hash(const QByteArray& baContent);
    // What the disk shows of the entry at the path (never through a link): true with size, time and number for a
    // regular file; bDirectory says whether a folder stands there.
    static bool Stat(const QString& strPath, SEntry& sEntry, bool* pDirectory = nullptr);
    // Fills the disk's side of the entry from an open file.
    static bool Stat(int nFile, SEntry& sEntry);
    // Whether the disk still shows the file as the entry recorded it.
    static bool SameOnDisk(const SEntry& sRecorded, const SEntry& sOnDisk);

private:
    struct SRecord
    {
        QString strPath;
        SEntry sEntry;
        mutable bool bAsked = false;
    };
    std::vector<SRecord> m_vctEntries;
    // Built at the first Find the order does not answer.
    mutable QHash<QString, int> m_mapIndex;
    mutable bool m_bIndexed = false;
    mutable size_t m_nNext = 0;
    mutable bool m_bOutOfOrder = false;
};
