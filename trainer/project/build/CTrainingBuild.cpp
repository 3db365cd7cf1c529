#include "project/build/CTrainingBuild.h"

#include "database/CDatabase.h"
#include "frame/CLogger.h"
#include "project/build/CBuildFileSet.h"
#include "project/build/CBuildOutcome.h"
#include "project/build/CTrainerImageRule.h"
#include "project/classes/CProjectCategories.h"
#include "project/store/CDatasetImageEntry.h"
#include "project/store/CDatasetImageRecord.h"
#include "project/store/CDatasetROIRecord.h"
#include "project/store/CProjectBoxTable.h"
#include "project/store/CProjectLayout.h"
#include "project/store/CSafeName.h"

#include <QDir>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace
{
QByteArray Utf8(const QString& strText)
{
    return strText.toUtf8();
}

QString ImageListLine(const std::shared_ptr<CDatasetImageEntry>& pEntry)
{
    return QString::asprintf("%s\n", Utf8(CProjectLayout::StoredImagePath(pEntry->GetName())).constData());
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
    : m_pDatabase(pDatabase), m_layout(strProjectDir)
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

bool CTrainingBuild::IsBuildFile(const QString& strRelative)
{
    const QString strName = strRelative.mid(CProjectLayout::IMAGES_FOLDER.size() + 1);
    return CProjectLayout::BuildFiles().contains(strRelative) ||
           (strRelative == CProjectLayout::ImageEntry(strName) && strName.endsWith(".txt") &&
            CSafeName::ImageNameProblem(strName).isEmpty());
}

bool CTrainingBuild::RecoverInterrupted(const QString& strProjectDir)
{
    // Only the files a build writes are put back or removed: a journal planted in a project received from elsewhere
    // must not take an image or the project file with it.
    return CBuildFileSet::Recover(CProjectLayout(strProjectDir).BuildJournal(), IsBuildFile);
}

QString CTrainingBuild::LabelLine(int nClassIndex, const CDatasetROIRecord& roi, const CDatasetImageRecord& image)
{
    return LabelLine(nClassIndex, roi.GetX(), roi.GetY(), roi.GetWidth(), roi.GetHeight(),
                     static_cast<double>(image.GetWidth()), static_cast<double>(image.GetHeight()));
}

QString CTrainingBuild::LabelLine(int nClassIndex, double dblX, double dblY, double dblWidth, double dblHeight,
                                  double dblImageWidth, double dblImageHeight)
{
    QByteArray baLine;
    AppendLabelLine(baLine, nClassIndex, dblX, dblY, dblWidth, dblHeight, dblImageWidth, dblImageHeight);
    return QString::fromLatin1(baLine);
}

namespace
{
// The common case of a label value, in [0, 1000): "%.6f" from the value times a million, rounded to the nearest. The
// product is off the exact one by less than 1e-7, so only a value within 1e-6 of a half in its seventh decimal is left
// to to_chars, which rounds the exact binary value as printf does (half to even). A third of a build's time went into
// formatting numbers.
bool AppendSixDecimals(char*& pEnd, double dblValue)
{
    if (!(dblValue >= 0.0 && dblValue < 1000.0))
        return false;
    const double dblScaled = dblValue * 1e6;
    const double dblWhole = std::floor(dblScaled);
    const double dblFraction = dblScaled - dblWhole;
    if (std::fabs(dblFraction - 0.5) < 1e-6)
        return false;
    const auto nMillionths = static_cast<unsigned long long>(dblWhole) + (dblFraction > 0.5 ? 1 : 0);
    pEnd = std::to_chars(pEnd, pEnd + 8, nMillionths / 1000000).ptr;
    *pEnd++ = '.';
    unsigned long long nDecimals = nMillionths % 1000000;
    for (int i = 5; i >= 0; --i)
    {
        pEnd[i] = static_cast<char>('0' + nDecimals % 10);
        nDecimals /= 10;
    }
    pEnd += 6;
    return true;
}
} // namespace

void CTrainingBuild::AppendLabelLine(QByteArray& baLines, int nClassIndex, double dblX, double dblY, double dblWidth,
                                     double dblHeight, double dblImageWidth, double dblImageHeight)
{
    // The bytes of "%d %f %f %f %f\n" in the C locale, whatever the user's, without parsing a format a million times:
    // to_chars rounds exactly as printf does.
    char acLine[5 * 40];
    char* pEnd = std::to_chars(acLine, acLine + sizeof(acLine), nClassIndex).ptr;
    for (const double dblValue : {(dblX + dblWidth * 0.5) / dblImageWidth, (dblY + dblHeight * 0.5) / dblImageHeight,
                                  dblWidth / dblImageWidth, dblHeight / dblImageHeight})
    {
        *pEnd++ = ' ';
        if (AppendSixDecimals(pEnd, dblValue))
            continue;
        const std::to_chars_result result =
            std::to_chars(pEnd, acLine + sizeof(acLine) - 1, dblValue, std::chars_format::fixed, 6);
        if (result.ec != std::errc())
        {
            // Only a value of hundreds of digits gets here: printf's own text then.
            baLines += QByteArray(acLine, int(pEnd - acLine));
            baLines += QByteArray::number(dblValue, 'f', 6);
            pEnd = acLine;
            continue;
        }
        pEnd = result.ptr;
    }
    *pEnd++ = '\n';
    baLines.append(acLine, int(pEnd - acLine));
}

QString CTrainingBuild::ConfigurationText(const QString& strConfiguration)
{
    static const QRegularExpression reLineEnd("\r+\n");
    return QString(strConfiguration).replace(reLineEnd, "\n");
}

bool CTrainingBuild::CheckRows(const EntryList& vctTrain, const EntryList& vctTest, const QSet<int>& setListed,
                               const CProjectBoxTable& table, const QStringList& lstClassNames) const
{
    // Two images whose names differ only after their last "." would share one label file: one of them would be
    // trained with the other's boxes. A row in neither list counts too: a project file may hold any TYPE.
    QHash<QString, QString> mapLabelOwners;
    mapLabelOwners.reserve(int(vctTrain.size() + vctTest.size()));
    int nUnusable = 0;
    const auto check = [&](const QString& strName, bool bListed)
    {
        QString strProblem = CSafeName::ImageNameProblem(strName);
        if (strProblem.isEmpty() && bListed)
            strProblem = CTrainerImageRule::Problem(strName);
        const QString strLabelPath = CProjectLayout::LabelEntry(strName);
        const auto itOwner = mapLabelOwners.constFind(strLabelPath);
        if (strProblem.isEmpty() && itOwner != mapLabelOwners.constEnd() && itOwner.value() != strName)
            strProblem = QString("its label file %1 is the label file of %2 too")
                             .arg(CSafeName::Shown(strLabelPath), CSafeName::Shown(itOwner.value()));
        if (itOwner == mapLabelOwners.constEnd())
            mapLabelOwners.insert(strLabelPath, strName);
        if (strProblem.isEmpty() && bListed)
            return;
        const QString strShown = CSafeName::Shown(strName);
        if (strProblem.isEmpty())
        {
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
    for (size_t i = 0; i < table.ImageCount(); ++i)
    {
        if (!setListed.contains(table.ImageID(i)))
            check(table.Name(i), false);
    }
    if (nUnusable > 0)
        CLogger::Write(ELogLevel_Error, "Build Failed: %d images cannot be used by the trainer", nUnusable);

    // A newline in a class name would make custom.names longer than "classes=" and shift every later class.
    int nBadClasses = 0;
    for (const QString& strClass : lstClassNames)
    {
        const QString strProblem = CSafeName::ClassNameProblem(strClass);
        if (strProblem.isEmpty())
            continue;
        ++nBadClasses;
        const QString strShown = CSafeName::Shown(strClass);
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
    CProjectBoxTable table;
    if (m_pDatabase && !table.Read(m_pDatabase))
    {
        LogFailure("cannot read the table " + table.FailedTable());
        return false;
    }
    return Build(vctTrain, vctTest, strConfiguration, table);
}

bool CTrainingBuild::Build(const EntryList& vctTrain, const EntryList& vctTest, const QString& strConfiguration,
                           const CProjectBoxTable& table)
{
    if (!m_pDatabase || m_layout.ProjectDir().isEmpty())
        return false;
    // The files of a build killed in the middle are made whole first: this build compares with them.
    if (!RecoverInterrupted(m_layout.ProjectDir()))
    {
        LogFailure(m_layout.BuildJournal(), "an interrupted build could not be put right");
        return false;
    }

    const CProjectCategories categories(m_pDatabase);
    if (!categories.IsRead())
    {
        LogFailure("cannot read the table " + CProjectCategories::Table());
        return false;
    }
    const size_t nImages = table.ImageCount();

    QSet<int> setListed;
    for (const EntryList* pList : {&vctTrain, &vctTest})
    {
        for (const std::shared_ptr<CDatasetImageEntry>& pEntry : *pList)
        {
            if (pEntry)
                setListed.insert(pEntry->GetImageID());
        }
    }
    if (!CheckRows(vctTrain, vctTest, setListed, table, categories.Names()))
        return false;

    // A label file the last build wrote for an image that has since left the lists goes with this build.
    CBuildFileSet files(m_layout.BuildJournal(), m_layout.BuildManifest(), IsBuildFile);
    // Line i of custom.names is the name of class index i (see CProjectCategories::IndexOf).
    QString strNames;
    for (const QString& strName : categories.Names())
        strNames += QString::asprintf("%s\n", Utf8(strName).constData());
    const QString strNamesPath = m_layout.Path(CProjectLayout::NAMES_FILE);
    if (!files.Write(strNamesPath, Utf8(strNames)))
    {
        LogFailure(strNamesPath, files.FailedReason());
        return false;
    }

    // The boxes come grouped by image in the order the table gives them: the same rows, in the same order, as one
    // select per image.
    QByteArray baLabels;
    for (size_t nImage = 0; nImage < nImages; ++nImage)
    {
        // A row in neither list is never validated: its label file could empty a listed image's.
        if (!setListed.contains(table.ImageID(nImage)))
            continue;
        const QString strLabelPath = m_layout.LabelFile(table.Name(nImage));
        const double dblImageWidth = static_cast<double>(table.Width(nImage));
        const double dblImageHeight = static_cast<double>(table.Height(nImage));
        baLabels.clear();
        for (size_t n = table.FirstRoi(nImage); n < table.EndRoi(nImage); ++n)
        {
            const size_t nRoi = table.Roi(n);
            // The validation refuses a box whose class is gone before any build; 0 keeps the line well-formed.
            AppendLabelLine(baLabels, std::max(categories.IndexOf(table.CategoryID(nRoi)), 0), table.Box(nRoi, 0),
                            table.Box(nRoi, 1), table.Box(nRoi, 2), table.Box(nRoi, 3), dblImageWidth, dblImageHeight);
        }
        if (!files.Write(strLabelPath, baLabels))
        {
            LogFailure(strLabelPath, files.FailedReason());
            return false;
        }
    }

    const QString strBackupDir = m_layout.BackupFolder();
    const bool bBackupExisted = QDir(strBackupDir).exists();
    const QByteArray baDetector = Utf8(QString("classes=%1\ntrain=%2\ntest=%3\nnames=%4\nbackup=%5\n")
                                           .arg(categories.Count())
                                           .arg(CProjectLayout::TRAIN_LIST, CProjectLayout::TEST_LIST,
                                                CProjectLayout::NAMES_FILE, CProjectLayout::BACKUP_FOLDER));
    const std::vector<std::pair<QString, QByteArray>> vctLastFiles = {
        {m_layout.Path(CProjectLayout::TRAIN_LIST), ImageList(vctTrain)},
        {m_layout.Path(CProjectLayout::TEST_LIST), ImageList(vctTest)},
        {m_layout.Path(CProjectLayout::DETECTOR_FILE), baDetector},
        {m_layout.Path(CProjectLayout::CONFIGURATION_FILE), Utf8(ConfigurationText(strConfiguration))}};
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
