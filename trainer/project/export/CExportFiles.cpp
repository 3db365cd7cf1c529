#include "project/export/CExportFiles.h"

#include "project/build/CBuildDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <cerrno>

CExportFiles::CExportFiles(const QString& strDestination) : m_strDestination(QDir(strDestination).absolutePath()) {}

QString CExportFiles::Path(const QString& strRelative) const
{
    return m_strDestination + '/' + strRelative;
}

void CExportFiles::Fail(const QString& strPath, const QString& strReason)
{
    if (m_strFailure.isEmpty())
        m_strFailure = QString("Cannot write %1: %2").arg(QDir::toNativeSeparators(strPath), strReason);
}

bool CExportFiles::MakeFolder(const QString& strRelative)
{
    if (HasFailed())
        return false;
    // Every missing level is remembered, so that a removal takes away the folders this export made and no other.
    QStringList lstMissing;
    for (QString strPath = Path(strRelative); !QFileInfo::exists(strPath); strPath = QFileInfo(strPath).path())
    {
        lstMissing.prepend(strPath);
        if (strPath == QFileInfo(strPath).path())
            break;
    }
    for (const QString& strPath : lstMissing)
    {
        if (!QDir().mkdir(strPath))
        {
            Fail(strPath, QStringLiteral("the folder cannot be made"));
            return false;
        }
        m_lstFolders.append(strPath);
    }
    if (!QFileInfo(Path(strRelative)).isDir())
    {
        Fail(Path(strRelative), QStringLiteral("it is no folder"));
        return false;
    }
    return true;
}

bool CExportFiles::Write(const QString& strRelative, const QByteArray& baContent)
{
    if (HasFailed())
        return false;
    const QString strPath = Path(strRelative);
    const QFileInfo info(strPath);
    const QString strWaiting = info.path() + "/." + info.fileName() + ".part";
    const int nError = CBuildDisk::WriteNewFile(strWaiting, baContent, false);
    if (nError != 0)
    {
        Fail(strPath, CBuildDisk::Reason(nError));
        return false;
    }
    m_vctWaiting.emplace_back(strWaiting, strPath);
    return true;
}

bool CExportFiles::Commit()
{
    if (HasFailed())
        return false;
    // The data of every waiting file is on the disk before the first of them has its name.
    const int nError = CBuildDisk::SyncFileSystem(m_strDestination);
    if (nError != 0)
    {
        Fail(m_strDestination, CBuildDisk::Reason(nError));
        return false;
    }
    QSet<QString> setFolders;
    for (auto it = m_vctWaiting.begin(); it != m_vctWaiting.end(); ++it)
    {
        if (!CBuildDisk::Rename(it->first, it->second))
        {
            Fail(it->second, CBuildDisk::Reason(errno));
            return false;
        }
        m_lstWritten.append(it->second);
        setFolders.insert(QFileInfo(it->second).path());
        it->first.clear();
    }
    m_vctWaiting.clear();
    for (const QString& strFolder : setFolders)
        CBuildDisk::SyncFolder(strFolder);
    return true;
}

CExportFiles::ECopy CExportFiles::Copy(const QString& strSource, const QString& strRelative)
{
    if (HasFailed())
        return Failed;
    QFile source(strSource);
    if (!source.open(QIODevice::ReadOnly))
        return SourceUnreadable;
    const QString strPath = Path(strRelative);
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
    {
        Fail(strPath, file.errorString());
        return Failed;
    }
    QByteArray baBlock(1 << 20, Qt::Uninitialized);
    for (;;)
    {
        const qint64 nRead = source.read(baBlock.data(), baBlock.size());
        if (nRead < 0)
        {
            // The copy is dropped with the save file: nothing appears under the name.
            file.cancelWriting();
            return SourceUnreadable;
        }
        if (nRead == 0)
            break;
        if (file.write(baBlock.constData(), nRead) != nRead)
            break;
    }
    if (!file.commit())
    {
        Fail(strPath, file.errorString());
        return Failed;
    }
    m_lstWritten.append(strPath);
    return Copied;
}

void CExportFiles::RemoveWritten()
{
    for (const auto& sWaiting : m_vctWaiting)
    {
        if (!sWaiting.first.isEmpty())
            QFile::remove(sWaiting.first);
    }
    m_vctWaiting.clear();
    for (int i = m_lstWritten.size() - 1; i >= 0; --i)
        QFile::remove(m_lstWritten[i]);
    for (int i = m_lstFolders.size() - 1; i >= 0; --i)
        QDir().rmdir(m_lstFolders[i]);
    m_lstWritten.clear();
    m_lstFolders.clear();
}
