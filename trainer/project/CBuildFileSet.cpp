#include "project/CBuildFileSet.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace
{
// std::rename replaces an existing target in one step (QFile::rename refuses to).
bool Rename(const QString& strFrom, const QString& strTo)
{
    return std::rename(QFile::encodeName(strFrom).constData(), QFile::encodeName(strTo).constData()) == 0;
}
} // namespace

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

bool CBuildFileSet::IsUnchanged(const QString& strPath, const QByteArray& baContent)
{
    QFile file(strPath);
    return file.size() == baContent.size() && file.open(QIODevice::ReadOnly) && file.readAll() == baContent;
}

bool CBuildFileSet::Write(const QString& strPath, const QByteArray& baContent)
{
    // Creating a file is by far the dearest step of a build; most label files come out as they were.
    if (!m_setPaths.contains(strPath) && IsUnchanged(strPath, baContent))
        return true;
    QFile file(TemporaryPath(strPath));
    const bool bWritten =
        file.open(QIODevice::WriteOnly | QIODevice::Text) && file.write(baContent) == baContent.size() && file.flush();
    file.close();
    if (!bWritten || file.error() != QFileDevice::NoError)
    {
        file.remove();
        m_strFailedPath = strPath;
        return false;
    }
    if (!m_setPaths.contains(strPath))
    {
        m_setPaths.insert(strPath);
        m_vctFiles.push_back({strPath, false});
    }
    return true;
}

void CBuildFileSet::Discard()
{
    for (const SFile& sFile : m_vctFiles)
        QFile::remove(TemporaryPath(sFile.strPath));
    m_vctFiles.clear();
    m_setPaths.clear();
}

bool CBuildFileSet::Commit()
{
    m_lstFailedRestores.clear();
    // First every previous file goes aside: a file that cannot be moved (an unchangeable file, say) stops the build
    // before any new file is in place.
    size_t nMovedAside = 0;
    for (; nMovedAside < m_vctFiles.size(); ++nMovedAside)
    {
        SFile& sFile = m_vctFiles[nMovedAside];
        sFile.bHadPrevious = QFileInfo::exists(sFile.strPath) || QFileInfo(sFile.strPath).isSymLink();
        if (sFile.bHadPrevious && !Rename(sFile.strPath, PreviousPath(sFile.strPath)))
        {
            m_strFailedPath = sFile.strPath;
            RollBack(0, nMovedAside);
            Discard();
            return false;
        }
    }
    for (size_t nPlaced = 0; nPlaced < m_vctFiles.size(); ++nPlaced)
    {
        const SFile& sFile = m_vctFiles[nPlaced];
        if (!Rename(TemporaryPath(sFile.strPath), sFile.strPath))
        {
            m_strFailedPath = sFile.strPath;
            RollBack(nPlaced, nMovedAside);
            Discard();
            return false;
        }
    }
    for (const SFile& sFile : m_vctFiles)
    {
        if (sFile.bHadPrevious)
            QFile::remove(PreviousPath(sFile.strPath));
    }
    m_vctFiles.clear();
    m_setPaths.clear();
    return true;
}

void CBuildFileSet::RollBack(size_t nPlaced, size_t nMovedAside)
{
    for (size_t i = nPlaced; i-- > 0;)
        QFile::remove(m_vctFiles[i].strPath);
    for (size_t i = nMovedAside; i-- > 0;)
    {
        const SFile& sFile = m_vctFiles[i];
        if (sFile.bHadPrevious && !Rename(PreviousPath(sFile.strPath), sFile.strPath))
            m_lstFailedRestores.append(sFile.strPath);
    }
}
