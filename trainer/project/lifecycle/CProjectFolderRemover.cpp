#include "project/lifecycle/CProjectFolderRemover.h"

#include "project/store/CSafeName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

CProjectFolderRemover::CProjectFolderRemover(const QString& strProjectDir, const QString& strProjectName,
                                             const QStringList& lstImageNames)
    : m_layout(strProjectDir, strProjectName), m_lstImageNames(lstImageNames)
{
}

bool CProjectFolderRemover::RemoveProjectFile()
{
    return QFile::remove(m_layout.ProjectFile());
}

void CProjectFolderRemover::RemoveRest()
{

    const QStringList lstOwn = m_layout.OwnEntries();
    const QStringList lstEntries =
        QDir(m_layout.ProjectDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& strEntry : lstEntries)
    {
        if (!lstOwn.contains(strEntry))
            m_lstKept.append(strEntry);
    }

    if (m_lstKept.isEmpty())
    {
        m_bFolderRemoved = QDir(m_layout.ProjectDir()).removeRecursively();
        if (!m_bFolderRemoved)
            m_lstFailed.append(m_layout.ProjectDir());
        return;
    }

    // A folder of other things: an "Images", "Backup" or "Evaluation" there may be the user's own, so only the
    // project's files inside them go.
    for (const QString& strEntry : lstOwn)
    {
        if (strEntry != CProjectLayout::IMAGES_FOLDER && strEntry != CProjectLayout::BACKUP_FOLDER &&
            strEntry != CProjectLayout::EVALUATION_FOLDER && QFileInfo::exists(m_layout.Path(strEntry)))
            RemoveFile(m_layout.Path(strEntry));
    }
    QStringList lstImageFiles;
    for (const QString& strName : m_lstImageNames)
    {
        // A name from a project file may lead out of the folder ("../x"): only plain file names are the project's.
        if (CSafeName::ImageNameProblem(strName).isEmpty())
            lstImageFiles << strName << CProjectLayout::LabelFileName(strName);
    }
    RemoveFromSubfolder(CProjectLayout::IMAGES_FOLDER, lstImageFiles);
    // The trainer names its weights after the configuration file: config_1000.weights, config_last.weights, ...
    const QStringList lstWeights =
        QDir(m_layout.BackupFolder()).entryList(QStringList("config_*.weights"), QDir::Files | QDir::Hidden);
    RemoveFromSubfolder(CProjectLayout::BACKUP_FOLDER, lstWeights);
    const QStringList lstEvaluations =
        QDir(m_layout.EvaluationFolder())
            .entryList(QStringList(CProjectLayout::EVALUATION_FILES), QDir::Files | QDir::Hidden);
    RemoveFromSubfolder(CProjectLayout::EVALUATION_FOLDER, lstEvaluations);
}

void CProjectFolderRemover::RemoveFile(const QString& strPath)
{
    if (!QFile::remove(strPath))
        m_lstFailed.append(strPath);
}

void CProjectFolderRemover::RemoveFromSubfolder(const QString& strSubfolder, const QStringList& lstNames)
{
    const QString strFolder = m_layout.Path(strSubfolder);
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
