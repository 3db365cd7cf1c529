#include "project/store/CProjectLayout.h"

#include <QDir>

const QString CProjectLayout::PROJECT_SUFFIX = QStringLiteral(".data");
const QString CProjectLayout::IMAGES_FOLDER = QStringLiteral("Images");
const QString CProjectLayout::BACKUP_FOLDER = QStringLiteral("Backup");
const QString CProjectLayout::EVALUATION_FOLDER = QStringLiteral("Evaluation");
const QString CProjectLayout::EVALUATION_FILES = QStringLiteral("evaluation_*.json");
const QString CProjectLayout::NAMES_FILE = QStringLiteral("custom.names");
const QString CProjectLayout::TRAIN_LIST = QStringLiteral("train.txt");
const QString CProjectLayout::TEST_LIST = QStringLiteral("test.txt");
const QString CProjectLayout::DETECTOR_FILE = QStringLiteral("detector.txt");
const QString CProjectLayout::CONFIGURATION_FILE = QStringLiteral("config.txt");
const QString CProjectLayout::BUILD_JOURNAL = QStringLiteral("build.journal");
const QString CProjectLayout::BUILD_MANIFEST = QStringLiteral("build.manifest");
const QString CProjectLayout::SLURM_SCRIPT = QStringLiteral("train.sbatch");
const QString CProjectLayout::SLURM_JOB_FILE = QStringLiteral("slurm.job");
const QString CProjectLayout::SLURM_OUTPUT = QStringLiteral("Backup/slurm-%j.out");

CProjectLayout::CProjectLayout(const QString& strProjectDir, const QString& strProjectName)
    : m_strProjectDir(strProjectDir), m_strProjectName(strProjectName)
{
}

CProjectLayout CProjectLayout::FromProjectFile(const QString& strProjectFile)
{
    const QString strPath = QDir::toNativeSeparators(strProjectFile);
    const int nSeparator = strPath.lastIndexOf(QDir::separator());
    // Whatever follows the last "." goes, as the window has always read a picked file: "proj.txt" opens proj.
    const int nDot = strPath.lastIndexOf('.');
    const QString strName = strPath.mid(nSeparator + 1, nDot > nSeparator ? nDot - nSeparator - 1 : -1);
    return CProjectLayout(nSeparator >= 0 ? strPath.left(nSeparator) : QString(), strName);
}

QString CProjectLayout::ProjectFile() const
{
    return Path(m_strProjectName + PROJECT_SUFFIX);
}

QString CProjectLayout::LockFile() const
{
    return ProjectFile() + ".lock";
}

QString CProjectLayout::ImagesFolder() const
{
    return Path(IMAGES_FOLDER);
}

QString CProjectLayout::BackupFolder() const
{
    return Path(BACKUP_FOLDER);
}

QString CProjectLayout::EvaluationFolder() const
{
    return Path(EVALUATION_FOLDER);
}

QString CProjectLayout::BuildJournal() const
{
    return Path(BUILD_JOURNAL);
}

QString CProjectLayout::BuildManifest() const
{
    return Path(BUILD_MANIFEST);
}

QString CProjectLayout::Path(const QString& strRelative) const
{
    return m_strProjectDir + QDir::separator() + strRelative;
}

QString CProjectLayout::ImageFile(const QString& strImageName) const
{
    return ImagesFolder() + QDir::separator() + strImageName;
}

QString CProjectLayout::LabelFile(const QString& strImageName) const
{
    return ImagesFolder() + QDir::separator() + LabelFileName(strImageName);
}

QString CProjectLayout::SlurmScript() const
{
    return Path(SLURM_SCRIPT);
}

QString CProjectLayout::SlurmJobFile() const
{
    return Path(SLURM_JOB_FILE);
}

QString CProjectLayout::SlurmOutputFile(const QString& strJobId) const
{
    return Path(QString(SLURM_OUTPUT).replace(QStringLiteral("%j"), strJobId));
}

QStringList CProjectLayout::OwnEntries() const
{
    const QString strFile = m_strProjectName + PROJECT_SUFFIX;
    return QStringList{strFile,       strFile + "-journal", strFile + "-wal",  strFile + "-shm", strFile + ".lock",
                       IMAGES_FOLDER, BACKUP_FOLDER,        EVALUATION_FOLDER, SLURM_SCRIPT,     SLURM_JOB_FILE} +
           BuildFiles();
}

QString CProjectLayout::LabelFileName(const QString& strImageName)
{
    // The last ".": "a.b.jpg" gets "a.b.txt", the name the trainer derives from "Images/a.b.jpg".
    const int nDot = strImageName.lastIndexOf('.');
    return (nDot < 0 ? strImageName : strImageName.left(nDot)) + ".txt";
}

QString CProjectLayout::EvaluationFileName(const QDateTime& date)
{
    return QStringLiteral("evaluation_") + date.toUTC().toString("yyyyMMdd-HHmmss-zzz") + QStringLiteral(".json");
}

QString CProjectLayout::ImageEntry(const QString& strImageName)
{
    return IMAGES_FOLDER + '/' + strImageName;
}

QString CProjectLayout::LabelEntry(const QString& strImageName)
{
    return IMAGES_FOLDER + '/' + LabelFileName(strImageName);
}

QString CProjectLayout::StoredImagePath(const QString& strImageName)
{
    return IMAGES_FOLDER + QDir::separator() + strImageName;
}

bool CProjectLayout::IsStoredImagePath(const QString& strPath, const QString& strImageName)
{
    const int nFolder = IMAGES_FOLDER.size();
    return strPath.size() == nFolder + 1 + strImageName.size() && strPath.startsWith(IMAGES_FOLDER) &&
           strPath.at(nFolder) == QDir::separator() && strPath.endsWith(strImageName);
}

const QStringList& CProjectLayout::BuildFiles()
{
    static const QStringList lstFiles = {NAMES_FILE,    TRAIN_LIST,         TEST_LIST,
                                         DETECTOR_FILE, CONFIGURATION_FILE, BUILD_MANIFEST};
    return lstFiles;
}
