#include "project/build/CBuildManifest.h"

#include <QFile>

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
    const auto it = m_mapEntries.constFind(strRelative);
    return it == m_mapEntries.constEnd() ? nullptr : &it.value();
}

bool CBuildManifest::Read(const QString& strPath)
{
    m_mapEntries.clear();
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lstLines = file.readAll().split('\n');
    if (lstLines.isEmpty() || lstLines.front() != MANIFEST_HEADER)
        return false;
    m_mapEntries.reserve(lstLines.size());
    for (int i = 1; i < lstLines.size(); ++i)
    {
        if (lstLines[i].isEmpty())
            continue;
        // "size seconds nanoseconds number hash path": a line that does not read so makes the whole manifest void.
        const QList<QByteArray> lstFields = lstLines[i].split(' ');
        bool bOk = lstFields.size() == 6;
        quint64 anValues[5] = {};
        for (int nField = 0; bOk && nField < 5; ++nField)
            anValues[nField] = lstFields[nField].toULongLong(&bOk, nField == 4 ? 16 : 10);
        const SEntry sEntry = {static_cast<qint64>(anValues[0]), static_cast<qint64>(anValues[1]),
                               static_cast<qint64>(anValues[2]), anValues[3], anValues[4]};
        if (!bOk)
        {
            m_mapEntries.clear();
            return false;
        }
        m_mapEntries.insert(QFile::decodeName(QByteArray::fromPercentEncoding(lstFields[5])), sEntry);
    }
    return true;
}

QByteArray CBuildManifest::Text() const
{
    QByteArray baText = MANIFEST_HEADER + '\n';
    baText.reserve(m_mapEntries.size() * 80);
    for (auto it = m_mapEntries.constBegin(); it != m_mapEntries.constEnd(); ++it)
    {
        const SEntry& sEntry = it.value();
        baText += QByteArray::number(sEntry.nSize) + ' ' + QByteArray::number(sEntry.nSeconds) + ' ' +
                  QByteArray::number(sEntry.nNanoseconds) + ' ' + QByteArray::number(sEntry.nFileNumber) + ' ' +
                  QByteArray::number(sEntry.nHash, 16) + ' ' + QFile::encodeName(it.key()).toPercentEncoding("/") +
                  '\n';
    }
    return baText;
}
