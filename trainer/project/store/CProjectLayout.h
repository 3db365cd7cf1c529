#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// Where a project keeps its files, for everything that reads or writes them: the project file <folder>/<name>.data
// with its lock beside it, the image copies and their label files in "Images", the files a build writes at the top of
// the folder, the trainer's weights in "Backup" and the saved evaluations in "Evaluation". Computes paths only; it
// never touches the disk.
class CProjectLayout
{
public:
    static const QString PROJECT_SUFFIX;
    static const QString IMAGES_FOLDER;
    static const QString BACKUP_FOLDER;
    // The saved evaluations of trained weights, one JSON file each.
    static const QString EVALUATION_FOLDER;
    static const QString EVALUATION_FILES;
    // The build's files at the top of the folder.
    static const QString NAMES_FILE;
    static const QString TRAIN_LIST;
    static const QString TEST_LIST;
    static const QString DETECTOR_FILE;
    static const QString CONFIGURATION_FILE;
    static const QString BUILD_JOURNAL;
    // What each file of the last build held, for telling unchanged files without reading them.
    static const QString BUILD_MANIFEST;
    // A cluster run's job script, kept so that a user can read it and submit it again by hand, and the file that
    // holds the ID of the job the scheduler gave it.
    static const QString SLURM_SCRIPT;
    static const QString SLURM_JOB_FILE;
    // The job's output as the script names it, relative to the folder; the scheduler puts the job's ID for "%j".
    static const QString SLURM_OUTPUT;

    // Without a name only the folder's files are known: ProjectFile and LockFile need the name.
    explicit CProjectLayout(const QString& strProjectDir, const QString& strProjectName = QString());
    // The project whose file is strProjectFile ("<folder>/<name>.data"): the folder is everything before the last
    // separator, the name the file name up to its last "." (without a "." the whole file name).
    static CProjectLayout FromProjectFile(const QString& strProjectFile);

    QString ProjectDir() const { return m_strProjectDir; }
    QString ProjectName() const { return m_strProjectName; }
    QString ProjectFile() const;
    // The lock that keeps the project open in one window only.
    QString LockFile() const;
    QString ImagesFolder() const;
    QString BackupFolder() const;
    QString EvaluationFolder() const;
    QString BuildJournal() const;
    QString BuildManifest() const;
    QString SlurmScript() const;
    QString SlurmJobFile() const;
    // The output file of the cluster job strJobId, in the backup folder.
    QString SlurmOutputFile(const QString& strJobId) const;
    // An entry of the folder by its path relative to the folder; also for folders of later features.
    QString Path(const QString& strRelative) const;
    // The copy of the image named strImageName and the label file a build writes for it.
    QString ImageFile(const QString& strImageName) const;
    QString LabelFile(const QString& strImageName) const;
    // The names the program puts at the top of the folder: the project file with SQLite's journals and the lock, the
    // image, weights and evaluation folders, and the build's files.
    QStringList OwnEntries() const;

    // The label file's name of an image: its name up to the last ".", or the whole name without ".", then ".txt".
    static QString LabelFileName(const QString& strImageName);
    // The file in EVALUATION_FOLDER of an evaluation made at date: UTC with milliseconds, so that names sort by date.
    static QString EvaluationFileName(const QDateTime& date);
    // Relative to the folder, as the trainer sees them: "Images/<name>" and "Images/<label file name>".
    static QString ImageEntry(const QString& strImageName);
    static QString LabelEntry(const QString& strImageName);
    // The image's path as its row stores it and train.txt and test.txt list it, with the system's separator.
    static QString StoredImagePath(const QString& strImageName);
    // Whether strPath is StoredImagePath(strImageName), told without making that path.
    static bool IsStoredImagePath(const QString& strPath, const QString& strImageName);
    // The build's files at the top of the folder, custom.names first and the manifest last.
    static const QStringList& BuildFiles();

private:
    QString m_strProjectDir;
    QString m_strProjectName;
};
