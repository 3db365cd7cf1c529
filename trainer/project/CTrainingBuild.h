#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class CBuildOutcome;
class CDatabase;
class CDatasetImageEntry;
class CDatasetImageRecord;
class CDatasetROIRecord;

// Turns a project's database content into the files the Darknet trainer reads, in the project folder: custom.names,
// one label file per image (Images/<name up to its last '.'>.txt), train.txt, test.txt, the Backup folder,
// detector.txt and config.txt. Either every file is replaced or none is: a failed build leaves the previous one whole.
class CTrainingBuild
{
public:
    using EntryList = std::vector<std::shared_ptr<CDatasetImageEntry>>;

    // The database is not owned and must stay open during Build.
    CTrainingBuild(CDatabase* pDatabase, const QString& strProjectDir);

    // Writes the files; the lists give train.txt and test.txt in their order, the configuration becomes config.txt.
    // Fails before writing anything, with one "Image %s cannot be used by the trainer: %s" line per listed image the
    // trainer would mistreat and "Build Failed: %d images cannot be used by the trainer"; fails with
    // "Build Failed: %s" naming the file when one cannot be written or put in place (or the folder without room for
    // the new files), followed by "Build Failed because: %s" with the system's reason. Logs "Created custom.names" and
    // "Build Completed" when every file is in place.
    bool Build(const EntryList& vctTrain, const EntryList& vctTest, const QString& strConfiguration);
    // Each reason a build fails for from now on is added to the outcome (not owned; null stops it).
    void SetOutcome(CBuildOutcome* pOutcome) { m_pOutcome = pOutcome; }

    // Where a build records the progress of putting its files in place (see CBuildFileSet).
    static QString JournalPath(const QString& strProjectDir);
    // Makes the build files of the folder all-old or all-new again after a build was killed while putting them in
    // place; true when there was nothing to do or it succeeded.
    static bool RecoverInterrupted(const QString& strProjectDir);

    // One line of a label file: class index, box centre and size, each relative to the image size.
    static QString LabelLine(int nClassIndex, const CDatasetROIRecord& roi, const CDatasetImageRecord& image);
    // The configuration as config.txt holds it: every "\r" that ends a line is dropped, since the trainer takes
    // "[net]\r" for an unknown section.
    static QString ConfigurationText(const QString& strConfiguration);

private:
    // Logs each listed image the trainer cannot use; true when there is none.
    bool CheckImages(const EntryList& vctTrain, const EntryList& vctTest) const;
    QString FilePath(const QString& strRelative) const;
    // Logs "Build Failed: %s", then the reason when there is one, and adds both to the outcome.
    void LogFailure(const QString& strWhat, const QString& strReason = QString()) const;

    CDatabase* m_pDatabase = nullptr;
    QString m_strProjectDir;
    CBuildOutcome* m_pOutcome = nullptr;
};
