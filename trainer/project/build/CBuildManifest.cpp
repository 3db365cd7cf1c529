#include "project/build/CBuildManifest.h"

#include <QFile>

#include <algorithm>
#include <charconv>

#include <sys/stat.h>

namespace
{
const QByteArray MANIFEST_HEADER = "ovrel build manifest 1";

void FromStat(const struct stat& sInfo, CBuildManifest::SEntry& sEntry)
{
    sEntry.nSize = sInfo.st_size;
    sEntry.nSeconds = sInfo.st_mtim.tv_sec;
    sEntry.nNanoseconds = sInfo.st_mtim.tv_nsec;
    sEntry.nFileNumber = sInfo.st_ino;
}
// Digits straight into the text, then a space: a line per file of a build of many thousand, with no number text made
// and thrown away.
template <typename T> void AppendNumber(QByteArray& baText, T nValue, int nBase = 10)
{
    char szDigits[24];
    const std::to_chars_result result = std::to_chars(szDigits, szDigits + sizeof(szDigits), nValue, nBase);
    baText.append(szDigits, int(result.ptr - szDigits));
    baText += ' ';
}

bool IsPlain(const QByteArray& baName)
{
    return std::all_of(baName.begin(), baName.end(),
                       [](char c)
                       {
                           return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                                  c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
                       });
}

// Percent-encoded as QByteArray::toPercentEncoding("/") would, which a name of plain letters leaves as it is.
void AppendPath(QByteArray& baText, const QString& strPath)
{
    const QByteArray baName = QFile::encodeName(strPath);
    baText += IsPlain(baName) ? baName : baName.toPercentEncoding("/");
}
} // namespace

quint64 CBuildManifest::Hash(const QByteArray& baContent)
{
    quint64 nHash = 14695981039346656037ULL;
    for (const char cByte : baContent)
    {
        nHash ^= static_cast<unsigned char>(cByte);
        nHash *= 1099511628211ULL;
    }
    return nHash;
}

bool CBuildManifest::Stat(const QString& strPath, SEntry& sEntry, bool* pDirectory)
{
    struct stat sInfo;
    const bool bThere = ::lstat(QFile::encodeName(strPath).constData(), &sInfo) == 0;
    if (pDirectory)
        *pDirectory = bThere && S_ISDIR(sInfo.st_mode);
    if (!bThere || !S_ISREG(sInfo.st_mode))
        return false;
    FromStat(sInfo, sEntry);
    return true;
}

bool CBuildManifest::Stat(int nFile, SEntry& sEntry)
{
    struct stat sInfo;
    if (::fstat(nFile, &sInfo) != 0)
        return false;
    FromStat(sInfo, sEntry);
    return true;
}

bool CBuildManifest::SameOnDisk(const SEntry& sRecorded, const SEntry& sOnDisk)
{
    return sRecorded.nSize == sOnDisk.nSize && sRecorded.nSeconds == sOnDisk.nSeconds &&
           sRecorded.nNanoseconds == sOnDisk.nNanoseconds && sRecorded.nFileNumber == sOnDisk.nFileNumber;
}

const CBuildManifest::SEntry* CBuildManifest::Find(const QString& strRelative) const
{
    size_t nAt = m_nNext;
    if (nAt >= m_vctEntries.size() || m_vctEntries[nAt].strPath != strRelative)
    {
        if (!m_bIndexed)
        {
            m_mapIndex.reserve(int(m_vctEntries.size()));
            // The last entry of a path set twice is the one that counts.
            for (size_t i = 0; i < m_vctEntries.size(); ++i)
                m_mapIndex.insert(m_vctEntries[i].strPath, int(i));
            m_bIndexed = true;
        }
        const auto it = m_mapIndex.constFind(strRelative);
        if (it == m_mapIndex.constEnd())
            return nullptr;
        nAt = size_t(it.value());
        m_bOutOfOrder = true;
    }
    m_nNext = nAt + 1;
    m_vctEntries[nAt].bAsked = true;
    return &m_vctEntries[nAt].sEntry;
}

size_t CBuildManifest::Set(const QString& strRelative, const SEntry& sEntry)
{
    if (m_bIndexed)
        m_mapIndex.insert(strRelative, int(m_vctEntries.size()));
    m_vctEntries.push_back({strRelative, sEntry});
    return m_vctEntries.size() - 1;
}

bool CBuildManifest::Read(const QString& strPath)
{
    *this = CBuildManifest();
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray baText = file.readAll();
    if (!baText.startsWith(MANIFEST_HEADER + '\n'))
        return false;
    std::vector<SRecord> vctEntries;
    vctEntries.reserve(size_t(baText.count('\n')));
    int nLine = MANIFEST_HEADER.size() + 1;
    while (nLine < baText.size())
    {
        int nEnd = baText.indexOf('\n', nLine);
        if (nEnd < 0)
            nEnd = baText.size();
        // "size seconds nanoseconds number hash path": a line that does not read so makes the whole manifest void.
        if (nEnd > nLine)
        {
            const QByteArray baLine = QByteArray::fromRawData(baText.constData() + nLine, nEnd - nLine);
            const QList<QByteArray> lstFields = baLine.split(' ');
            bool bOk = lstFields.size() == 6;
            quint64 anValues[5] = {};
            for (int nField = 0; bOk && nField < 5; ++nField)
                anValues[nField] = lstFields[nField].toULongLong(&bOk, nField == 4 ? 16 : 10);
            if (!bOk)
                return false;
            const SEntry sEntry = {static_cast<qint64>(anValues[0]), static_cast<qint64>(anValues[1]),
                                   static_cast<qint64>(anValues[2]), anValues[3], anValues[4]};
            vctEntries.push_back({QFile::decodeName(QByteArray::fromPercentEncoding(lstFields[5])), sEntry});
        }
        nLine = nEnd + 1;
    }
    m_vctEntries = std::move(vctEntries);
    return true;
}

QByteArray CBuildManifest::Text() const
{
    // A path set twice is written once, with its last entry, where it was set first.
    std::vector<size_t> vctLast(m_vctEntries.size());
    QHash<QString, size_t> mapFirst;
    mapFirst.reserve(int(m_vctEntries.size()));
    std::vector<bool> vctWritten(m_vctEntries.size(), true);
    for (size_t i = 0; i < m_vctEntries.size(); ++i)
    {
        vctLast[i] = i;
        const auto it = mapFirst.constFind(m_vctEntries[i].strPath);
        if (it == mapFirst.constEnd())
        {
            mapFirst.insert(m_vctEntries[i].strPath, i);
            continue;
        }
        vctLast[it.value()] = i;
        vctWritten[i] = false;
    }
    QByteArray baText = MANIFEST_HEADER + '\n';
    baText.reserve(int(m_vctEntries.size()) * 80);
    for (size_t i = 0; i < m_vctEntries.size(); ++i)
    {
        if (!vctWritten[i])
            continue;
        const SEntry& sEntry = m_vctEntries[vctLast[i]].sEntry;
        AppendNumber(baText, sEntry.nSize);
        AppendNumber(baText, sEntry.nSeconds);
        AppendNumber(baText, sEntry.nNanoseconds);
        AppendNumber(baText, sEntry.nFileNumber);
        AppendNumber(baText, sEntry.nHash, 16);
        AppendPath(baText, m_vctEntries[i].strPath);
        baText += '\n';
    }
    return baText;
}
