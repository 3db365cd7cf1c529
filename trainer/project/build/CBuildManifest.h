#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

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
    QByteArray Text() const;

    const SEntry* Find(const QString& strRelative) const;
    void Set(const QString& strRelative, const SEntry& sEntry) { m_mapEntries.insert(strRelative, sEntry); }
    QStringList Paths() const { return m_mapEntries.keys(); }
    int Count() const { return m_mapEntries.size(); }

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
    QHash<QString, SEntry> m_mapEntries;
};
