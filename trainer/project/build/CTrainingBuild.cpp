#include "project/build/CTrainingBuild.h"

#include "database/CDatabase.h"
#include "frame/CLogger.h"
#include "project/annotation/CDatasetROIRecord.h"
#include "project/build/CBuildFileSet.h"
#include "project/build/CBuildOutcome.h"
#include "project/build/CTrainerImageRule.h"
#include "project/classes/CCategoryRecord.h"
#include "project/images/CDatasetImageEntry.h"
#include "project/images/CDatasetImageRecord.h"
#include "project/lifecycle/CSafeName.h"

#include <QDir>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <unordered_map>

namespace
{
// The build's files beside the label files of the Images folder.
const char* const kNamesFile = "custom.names";
const char* const kTrainList = "train.txt";
const char* const kTestList = "test.txt";
const char* const kDetectorFile = "detector.txt";
const char* const kConfigurationFile = "config.txt";

QByteArray Utf8(const QString& strText)
{
    return strText.toUtf8();
}

QString ImageListLine(const std::shared_ptr<CDatasetImageEntry>& pEntry)
{
    return QString::asprintf("%s\n", Utf8("Images" + QString(QDir::separator()) + pEntry->GetName()).constData());
}

QByteArray ImageList(const CTrainingBuild::EntryList& vctEntries)
{
    QString strText;
    for (const std::shared_ptr<CDatasetImageEntry>& pEntry : vctEntries)
    {
        if (pEntry)
            strText += ImageListLine(pEntry);
    }
    return Utf8(strText);
}
} // namespace

CTrainingBuild::CTrainingBuild(CDatabase* pDatabase, const QString& strProjectDir)
    : m_pDatabase(pDatabase), m_strProjectDir(strProjectDir)
{
}

void CTrainingBuild::LogFailure(const QString& strWhat, const QString& strReason) const
{
    CLogger::Write(ELogLevel_Error, "Build Failed: %s", Utf8(strWhat).constData());
    // A line of its own, so that the line above stays as it always was.
    if (!strReason.isEmpty())
        CLogger::Write(ELogLevel_Error, "Build Failed because: %s", Utf8(strReason).constData());
    if (m_pOutcome)
        m_pOutcome->Add(CBuildOutcome::EReason_Failed, strReason.isEmpty() ? strWhat : strWhat + ": " + strReason);
}

QString CTrainingBuild::JournalPath(const QString& strProjectDir)
{
    return strProjectDir + QDir::separator() + "build.journal";
}

bool CTrainingBuild::RecoverInterrupted(const QString& strProjectDir)
{
    // Only the files a build writes are put back or removed: a journal planted in a project received from elsewhere
    // must not take an image or the project file with it.
    static const QSet<QString> setBuildFiles = {kNamesFile, kTrainList, kTestList, kDetectorFile, kConfigurationFile};
    return CBuildFileSet::Recover(JournalPath(strProjectDir),
                                  [](const QString& strRelative)
                                  {
                                      const QString strImages("Images/");
                                      if (setBuildFiles.contains(strRelative))
                                          return true;
                                      const QString strName = strRelative.mid(strImages.size());
                                      return strRelative.startsWith(strImages) && strName.endsWith(".txt") &&
                                             CSafeName::ImageNameProblem(strName).isEmpty();
                                  });
}

QString CTrainingBuild::FilePath(const QString& strRelative) const
{
    return m_strProjectDir + QDir::separator() + strRelative;
}

QString CTrainingBuild::LabelLine(int nClassIndex, const CDatasetROIRecord& roi, const CDatasetImageRecord& image)
{
    const double dblImageWidth = static_cast<double>(image.GetWidth());
    const double dblImageHeight = static_cast<double>(image.GetHeight());
    return QString::asprintf("%d %f %f %f %f\n", nClassIndex, (roi.GetX() + roi.GetWidth() * 0.5) / dblImageWidth,
                             (roi.GetY() + roi.GetHeight() * 0.5) / dblImageHeight, roi.GetWidth() / dblImageWidth,
                             roi.GetHeight() / dblImageHeight);
}

QString CTrainingBuild::ConfigurationText(const QString& strConfiguration)
{
    static const QRegularExpression reLineEnd("\r+\n");
    return QString(strConfiguration).replace(reLineEnd, "\n");
}

bool CTrainingBuild::CheckRows(const EntryList& vctTrain, const EntryList& vctTest, const QSet<int>& setListed,
                               const RecordList& vctImages, const RecordList& vctCategories) const
{
    // Two images whose names differ only after their last "." would share one label file: one of them would be
    // trained with the other's boxes. A row in neither list counts too: a project file may hold any TYPE.
    QHash<QString, QString> mapLabelOwners;
    int nUnusable = 0;
    const auto check = [&](const QString& strName, bool bListed)
    {
        QString strProblem = CSafeName::ImageNameProblem(strName);
        if (strProblem.isEmpty() && bListed)
            strProblem = CTrainerImageRule::Problem(strName);
        const QString strLabelPath = CTrainerImageRule::BuildLabelPath(strName);
        const auto itOwner = mapLabelOwners.constFind(strLabelPath);
        if (strProblem.isEmpty() && itOwner != mapLabelOwners.constEnd() && itOwner.value() != strName)
            strProblem = QString("its label file %1 is the label file of %2 too")
                             .arg(CSafeName::Shown(strLabelPath), CSafeName::Shown(itOwner.value()));
        if (itOwner == mapLabelOwners.constEnd())
            mapLabelOwners.insert(strLabelPath, strName);
        const QString strShown = CSafeName::Shown(strName);
        if (strProblem.isEmpty())
        {
            if (!bListed)
                CLogger::Write(ELogLevel_Warning,
                               "Image %s is in neither the training nor the test list: it gets no label file",
                               Utf8(strShown).constData());
            return;
        }
        ++nUnusable;
        if (m_pOutcome)
            m_pOutcome->Add(CBuildOutcome::EReason_Unusable, strShown + ": " + strProblem);
        CLogger::Write(ELogLevel_Error, "Image %s cannot be used by the trainer: %s", Utf8(strShown).constData(),
                       Utf8(strProblem).constData());
    };
    for (const EntryList* pList : {&vctTrain, &vctTest})
    {
        for (const std::shared_ptr<CDatasetImageEntry>& pEntry : *pList)
        {
            if (pEntry)
                check(pEntry->GetName(), true);
        }
    }
    for (const std::shared_ptr<CDatabaseRecord>& pRecord : vctImages)
    {
        const auto* pImage = dynamic_cast<const CDatasetImageRecord*>(pRecord.get());
        if (pImage && !setListed.contains(pImage->GetID()))
            check(pImage->GetName(), false);
    }
    if (nUnusable > 0)
        CLogger::Write(ELogLevel_Error, "Build Failed: %d images cannot be used by the trainer", nUnusable);

    // A newline in a class name would make custom.names longer than "classes=" and shift every later class.
    int nBadClasses = 0;
    for (const std::shared_ptr<CDatabaseRecord>& pRecord : vctCategories)
    {
        const auto* pCategory = dynamic_cast<const CCategoryRecord*>(pRecord.get());
        const QString strProblem = pCategory ? CSafeName::ClassNameProblem(pCategory->GetName()) : QString();
        if (strProblem.isEmpty())
            continue;
        ++nBadClasses;
        const QString strShown = CSafeName::Shown(pCategory->GetName());
        if (m_pOutcome)
            m_pOutcome->Add(CBuildOutcome::EReason_ClassName, strShown + ": " + strProblem);
        CLogger::Write(ELogLevel_Error, "Class %s cannot be written to custom.names: %s", Utf8(strShown).constData(),
                       Utf8(strProblem).constData());
    }
    if (nBadClasses > 0)
        CLogger::Write(ELogLevel_Error, "Build Failed: %d classes cannot be written to custom.names", nBadClasses);
    return nUnusable == 0 && nBadClasses == 0;
}

bool CTrainingBuild::Build(const EntryList& vctTrain, const EntryList& vctTest, const QString& strConfiguration)
{
    if (!m_pDatabase || m_strProjectDir.isEmpty())
        return false;
    // The files of a build killed in the middle are made whole first: this build compares with them.
    if (!RecoverInterrupted(m_strProjectDir))
    {
        LogFailure(JournalPath(m_strProjectDir), "an interrupted build could not be put right");
        return false;
    }

    std::vector<std::shared_ptr<CDatabaseRecord>> vctCategories;
    std::vector<std::shared_ptr<CDatabaseRecord>> vctImages;
    std::vector<std::shared_ptr<CDatabaseRecord>> vctRois;
    for (const auto& sSelect : {std::make_pair(&CCategoryRecord::TABLE_NAME, &vctCategories),
                                std::make_pair(&CDatasetImageRecord::TABLE_NAME, &vctImages),
                                std::make_pair(&CDatasetROIRecord::TABLE_NAME, &vctRois)})
    {
        if (!m_pDatabase->SelectFromTable(*sSelect.first, *sSelect.second, {}))
        {
            LogFailure("cannot read the table " + *sSelect.first);
            return false;
        }
    }

    QSet<int> setListed;
    for (const EntryList* pList : {&vctTrain, &vctTest})
    {
        for (const std::shared_ptr<CDatasetImageEntry>& pEntry : *pList)
        {
            if (pEntry)
                setListed.insert(pEntry->GetImageID());
        }
    }
    if (!CheckRows(vctTrain, vctTest, setListed, vctImages, vctCategories))
        return false;

    CBuildFileSet files(JournalPath(m_strProjectDir));
    QString strNames;
    std::unordered_map<int, int> mapClassIndex;
    for (const std::shared_ptr<CDatabaseRecord>& pRecord : vctCategories)
    {
        const auto pCategory = std::dynamic_pointer_cast<CCategoryRecord>(pRecord);
        if (!pCategory)
            continue;
        mapClassIndex.emplace(pCategory->GetID(), static_cast<int>(mapClassIndex.size()));
        strNames += QString::asprintf("%s\n", Utf8(pCategory->GetName()).constData());
    }
    const QString strNamesPath = FilePath(kNamesFile);
    if (!files.Write(strNamesPath, Utf8(strNames)))
    {
        LogFailure(strNamesPath, files.FailedReason());
        return false;
    }

    // One select of every ROI, grouped by image in the order the table gives them: the same rows, in the same order,
    // as one select per image, without twenty thousand round trips.
    std::unordered_map<int, std::vector<const CDatasetROIRecord*>> mapImageRois;
    for (const std::shared_ptr<CDatabaseRecord>& pRecord : vctRois)
    {
        if (const auto* pRoi = dynamic_cast<const CDatasetROIRecord*>(pRecord.get()))
            mapImageRois[pRoi->GetImageID()].push_back(pRoi);
    }
    const QString strImagesDir = "Images" + QString(QDir::separator());
    for (const std::shared_ptr<CDatabaseRecord>& pRecord : vctImages)
    {
        const auto* pImage = dynamic_cast<const CDatasetImageRecord*>(pRecord.get());
        // A row in neither list is never validated: its label file could empty a listed image's.
        if (!pImage || !setListed.contains(pImage->GetID()))
            continue;
        const QString strName = pImage->GetName();
        const int nDot = strName.lastIndexOf('.');
        const QString strLabelPath = FilePath(strImagesDir + (nDot < 0 ? strName : strName.left(nDot)) + ".txt");
        QString strLabels;
        const auto itRois = mapImageRois.find(pImage->GetID());
        if (itRois != mapImageRois.end())
        {
            for (const CDatasetROIRecord* pRoi : itRois->second)
            {
                const auto itClass = mapClassIndex.find(pRoi->GetCategoryID());
                strLabels += LabelLine(itClass == mapClassIndex.end() ? 0 : itClass->second, *pRoi, *pImage);
            }
        }
        if (!files.Write(strLabelPath, Utf8(strLabels)))
        {
            LogFailure(strLabelPath, files.FailedReason());
            return false;
        }
    }

    const QString strBackupDir = FilePath("Backup");
    const bool bBackupExisted = QDir(strBackupDir).exists();
    const QByteArray baDetector = Utf8(QString::asprintf("classes=%d\n", static_cast<int>(mapClassIndex.size())) +
                                       "train=train.txt\ntest=test.txt\nnames=custom.names\nbackup=Backup\n");
    const std::vector<std::pair<QString, QByteArray>> vctLastFiles = {
        {FilePath(kTrainList), ImageList(vctTrain)},
        {FilePath(kTestList), ImageList(vctTest)},
        {FilePath(kDetectorFile), baDetector},
        {FilePath(kConfigurationFile), Utf8(ConfigurationText(strConfiguration))}};
    for (const auto& sFile : vctLastFiles)
    {
        if (!files.Write(sFile.first, sFile.second))
        {
            LogFailure(sFile.first, files.FailedReason());
            return false;
        }
    }
    if (!bBackupExisted && !QDir().mkpath(strBackupDir))
    {
        LogFailure(strBackupDir);
        return false;
    }
    if (!files.Commit())
    {
        LogFailure(files.FailedPath(), files.FailedReason());
        for (const QString& strPath : files.FailedRestores())
            CLogger::Write(ELogLevel_Error, "Could not restore the previous %s", Utf8(strPath).constData());
        // The folder came with this build; the failed build takes it back.
        if (!bBackupExisted)
            QDir().rmdir(strBackupDir);
        return false;
    }
    CLogger::Write(ELogLevel_Normal, "Created custom.names");
    CLogger::Write(ELogLevel_Normal, "Build Completed");
    return true;
}
