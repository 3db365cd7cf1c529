#pragma once

#include "project/store/CProjectLayout.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CBuildOutcome;
class CProjectBoxTable;
class CDatabase;
class CDatabaseRecord;
class CDatasetImageEntry;
class CDatasetImageRecord;
class CDatasetROIRecord;

// Turns a project's database content into the files the Darknet trainer reads, in the project folder (see
// CProjectLayout): custom.names, one label file per image (Images/<name up to its last '.'>.txt), train.txt, test.txt,
// the Backup folder, detector.txt and config.txt; its progress goes to the journal build.journal and what each file
// holds to build.manifest (see CBuildFileSet). A label file the last build wrote for an image in neither list now is
// removed; files that come out as they were are not touched.
// Either every file is replaced or none is: a failed build leaves the previous one whole.
class CTrainingBuild
{
public:
    using EntryList = std::vector<std::shared_ptr<CDatasetImageEntry>>;

    // The database is not owned and must stay open during Build.
    CTrainingBuild(CDatabase* pDatabase, const QString& strProjectDir);

    // Writes the files; the lists give train.txt and test.txt in their order, the configuration becomes config.txt.
    // Fails before writing anything, with one "Image %s cannot be used by the trainer: %s" line per listed image the
    // trainer would mistreat, per image row whose name is no plain file name (see CSafeName) and per row whose label
    // file is another row's, whatever its list, then "Build Failed: %d images cannot be used by the trainer"; with
    // one "Class %s cannot be written to custom.names: %s" line per class name holding a control character, then
    // "Build Failed: %d classes cannot be written to custom.names". A row in neither list gets no label file and a
    // warning "Image %s is in neither the training nor the test list: it gets no label file". Names in these lines
    // show control characters as escapes. Fails with "Build Failed: %s" naming the file when one cannot be written
    // or put in place (or the folder without room for the new files), followed by "Build Failed because: %s" with
    // the system's reason. Logs "Created custom.names" and
    // "Build Completed" when every file is in place.
    bool Build(const EntryList& vctTrain, const EntryList& vctTest, const QString& strConfiguration);
    // The same with the images and boxes read already (the validation's).
    bool Build(const EntryList& vctTrain, const EntryList& vctTest, const QString& strConfiguration,
               const CProjectBoxTable& table);
    // Each reason a build fails for from now on is added to the outcome (not owned; null stops it).
    void SetOutcome(CBuildOutcome* pOutcome) { m_pOutcome = pOutcome; }

    // Makes the build files of the folder all-old or all-new again after a build was killed while putting them in
    // place; true when there was nothing to do or it succeeded.
    static bool RecoverInterrupted(const QString& strProjectDir);
    // Whether a build writes the file at this path relative to the project folder: one of the build files at the top
    // or a label file of a plain image name in Images.
    static bool IsBuildFile(const QString& strRelative);

    // One line of a label file: class index, box centre and size, each relative to the image size.
    static QString LabelLine(int nClassIndex, const CDatasetROIRecord& roi, const CDatasetImageRecord& image);
    static QString LabelLine(int nClassIndex, double dblX, double dblY, double dblWidth, double dblHeight,
                             double dblImageWidth, double dblImageHeight);
    // The configuration as config.txt holds it: every "\r" that ends a line is dropped, since the trainer takes
    // "[net]\r" for an unknown section.
    static QString ConfigurationText(const QString& strConfiguration);

private:
    // The image rows, one plain array per column, entry i of each from row i.
    // Logs each listed image the trainer cannot use, each image row whose name is no plain file name or shares a
    // label file whatever its list, and each class name that is not one line; true when there is none. Logs a
    // warning for each row in neither list, which gets no label file.
    bool CheckRows(const EntryList& vctTrain, const EntryList& vctTest, const QSet<int>& setListed,
                   const CProjectBoxTable& table, const QStringList& lstClassNames) const;
    // Appends LabelLine's bytes.
    static void AppendLabelLine(QByteArray& baLines, int nClassIndex, double dblX, double dblY, double dblWidth,
                                double dblHeight, double dblImageWidth, double dblImageHeight);
    // Logs "Build Failed: %s", then the reason when there is one, and adds both to the outcome.
    void LogFailure(const QString& strWhat, const QString& strReason = QString()) const;

    CDatabase* m_pDatabase = nullptr;
    CProjectLayout m_layout;
    CBuildOutcome* m_pOutcome = nullptr;
};
