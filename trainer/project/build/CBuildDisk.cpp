#include "project/build/CBuildDisk.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QByteArray CBuildDisk::Native(const QString& strPath)
{
    return QFile::encodeName(strPath);
}

QString CBuildDisk::Reason(int nError)
{
    return QString::fromLocal8Bit(std::strerror(nError));
}

// std::rename replaces an existing target in one step (QFile::rename refuses to).
bool CBuildDisk::Rename(const QString& strFrom, const QString& strTo)
{
    return std::rename(Native(strFrom).constData(), Native(strTo).constData()) == 0;
}

// A link counts as there even when it leads nowhere.
bool CBuildDisk::Exists(const QString& strPath)
{
    struct stat sInfo;
    return ::lstat(Native(strPath).constData(), &sInfo) == 0;
}

// Removes whatever file or link stands at the path (a link itself, never its target); 0 when nothing stands there
// now, else the system's error.
int CBuildDisk::RemoveEntry(const QString& strPath)
{
    if (::unlink(Native(strPath).constData()) == 0 || errno == ENOENT)
        return 0;
    return errno;
}

// Writes a file that did not exist before: a link planted at the path would otherwise make the write land on its
// target, outside the project. With bSync the data is on the disk when it returns 0; else the system's error, and no
// file. pWritten receives what the disk shows of the new file.
int CBuildDisk::WriteNewFile(const QString& strPath, const QByteArray& baContent, bool bSync,
                             CBuildManifest::SEntry* pWritten, bool bReplace)
{
    const QByteArray baPath = Native(strPath);
    const int nFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    int nFile = ::open(baPath.constData(), nFlags, 0666);
    // Whatever stands there goes first; tried only when something does, since a removal that finds nothing still
    // costs a look-up of the name among many thousand.
    if (nFile < 0 && errno == EEXIST && !bReplace)
        return EEXIST;
    int nError = nFile < 0 && errno == EEXIST ? RemoveEntry(strPath) : 0;
    if (nError != 0)
        return nError;
    if (nFile < 0)
        nFile = ::open(baPath.constData(), nFlags, 0666);
    if (nFile < 0)
        return errno;
    const char* pData = baContent.constData();
    size_t nLeft = static_cast<size_t>(baContent.size());
    while (nLeft > 0 && nError == 0)
    {
        const ssize_t nWritten = ::write(nFile, pData, nLeft);
        if (nWritten < 0 && errno != EINTR)
            nError = errno;
        else if (nWritten > 0)
        {
            pData += nWritten;
            nLeft -= static_cast<size_t>(nWritten);
        }
    }
    if (nError == 0 && bSync && ::fsync(nFile) != 0)
        nError = errno;
    if (nError == 0 && pWritten && !CBuildManifest::Stat(nFile, *pWritten))
        nError = errno;
    if (::close(nFile) != 0 && nError == 0)
        nError = errno;
    if (nError != 0)
        ::unlink(baPath.constData());
    return nError;
}

// Every file and folder written on the file system of the folder reaches the disk: one flush for a build's thousands
// of files, where one per file made the first build several times slower. The system's error, or 0.
int CBuildDisk::SyncFileSystem(const QString& strDir)
{
    const int nDir = ::open(Native(strDir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nDir < 0)
        return errno;
    const int nError = ::syncfs(nDir) == 0 ? 0 : errno;
    ::close(nDir);
    return nError;
}

// A rename is on the disk only once its folder is.
void CBuildDisk::SyncFolder(const QString& strDir)
{
    const int nDir = ::open(Native(strDir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nDir < 0)
        return;
    ::fsync(nDir);
    ::close(nDir);
}
