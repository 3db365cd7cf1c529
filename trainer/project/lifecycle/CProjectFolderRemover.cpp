#include "project/lifecycle/CProjectFolderRemover.h"

#include "project/lifecycle/CSafeName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{
const char* const IMAGE_FOLDER = "Images";
const char* const BACKUP_FOLDER = "Backup";

// The label file a build writes next to an image: the name up to its last ".", then ".txt".
QString LabelName(const QString& strImageName)
{
    const int nDot = strImageName.lastIndexOf('.');
    return (nDot < 0 ? strImageName : strImageName.left(nDot)) + ".txt";
}
} // namespace

QStringList CProjectFolderRemover::OwnEntries(const QString& strProjectName)
{
    const QString strFile = strProjectName + ".data";
    // The project file with SQLite's journals and the lock, the image and weights folders, and the build's files.
    return {strFile,       strFile + "-journal", strFile + "-wal", strFile + "-shm", strFile + ".lock", IMAGE_FOLDER,
            BACKUP_FOLDER, "custom.names",       "train.txt",      "test.txt",       "detector.txt",    "config.txt"};
}

QString CProjectFolderRemover::LockFilePath(const QString& strProjectDir, const QString& strProjectName)
{
    return strProjectDir + QDir::separator() + strProjectName + ".data.lock";
}

CProjectFolderRemover::CProjectFolderRemover(const QString& strProjectDir, const QString& strProjectName,
                                             const QStringList& lstImageNames)
    : m_strProjectDir(strProjectDir), m_strProjectName(strProjectName), m_lstImageNames(lstImageNames)
{
}

QString CProjectFolderRemover::Path(const QString& strRelative) const
{
    return m_strProjectDir + QDir::separator() + strRelative;
}

bool CProjectFolderRemover::RemoveProjectFile()
{
    return QFile::remove(Path(m_strProjectName + ".data"));
}

void CProjectFolderRemover::RemoveRest()
{

    const QStringList lstOwn = OwnEntries(m_strProjectName);
    const QStringList lstEntries =
        QDir(m_strProjectDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& strEntry : lstEntries)
    {
        if (!lstOwn.contains(strEntry))
            m_lstKept.append(strEntry);
    }

    if (m_lstKept.isEmpty())
    {
        m_bFolderRemoved = QDir(m_strProjectDir).removeRecursively();
        if (!m_bFolderRemoved)
            m_lstFailed.append(m_strProjectDir);
        return;
    }

    // A folder of other things: an "Images" or "Backup" there may be the user's own, so only the project's files
    // inside them go.
    for (const QString& strEntry : lstOwn)
    {
        if (strEntry != IMAGE_FOLDER && strEntry != BACKUP_FOLDER && QFileInfo::exists(Path(strEntry)))
            RemoveFile(Path(strEntry));
    }
    QStringList lstImageFiles;
    for (const QString& strName : m_lstImageNames)
    {
        // A name from a project file may lead out of the folder ("../x"): only plain file names are the project's.
        if (CSafeName::ImageNameProblem(strName).isEmpty())
            lstImageFiles << strName << LabelName(strName);
    }
    RemoveFromSubfolder(IMAGE_FOLDER, lstImageFiles);
    // The trainer names its weights after the configuration file: config_1000.weights, config_last.weights, ...
    const QStringList lstWeights =
        QDir(Path(BACKUP_FOLDER)).entryList(QStringList("config_*.weights"), QDir::Files | QDir::Hidden);
    RemoveFromSubfolder(BACKUP_FOLDER, lstWeights);
}

void CProjectFolderRemover::RemoveFile(const QString& strPath)
{
    if (!QFile::remove(strPath))
        m_lstFailed.append(strPath);
}

void CProjectFolderRemover::RemoveFromSubfolder(const QString& strSubfolder, const QStringList& lstNames)
{
    const QString strFolder = Path(strSubfolder);
    if (!QFileInfo(strFolder).isDir())
        return;
    for (const QString& strName : lstNames)
    {
        const QString strPath = strFolder + QDir::separator() + strName;
        if (QFileInfo(strPath).isFile())
            RemoveFile(strPath);
    }
    // rmdir refuses a folder that still holds something, which is what should stay.
    if (!QDir().rmdir(strFolder))
        m_lstKept.append(strSubfolder);
}
