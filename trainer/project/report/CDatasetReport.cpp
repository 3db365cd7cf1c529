#include "project/report/CDatasetReport.h"

#include "database/CDatabase.h"
#include "project/build/CTrainerImageRule.h"
#include "project/classes/CProjectCategories.h"
#include "project/proposals/CProposalStore.h"
#include "project/store/CDatasetImageRecord.h"
#include "project/store/CDatasetROIRecord.h"
#include "project/store/CProjectBoxTable.h"
#include "project/store/CProjectLayout.h"
#include "project/store/CSafeName.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <cmath>
#include <thread>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace
{
struct SFileState
{
    bool bExists = false;
    QSize size;
};

// Opening 20,000 files dominates the report; the reads are independent and each reader is the thread's own.
std::vector<SFileState> ReadFileStates(const std::vector<QString>& vctPaths)
{
    std::vector<SFileState> vctStates(vctPaths.size());
    // A few files are not worth a thread.
    const size_t nThreads =
        vctPaths.size() < 64 ? 1 : std::max<size_t>(1, std::min<size_t>(8, std::thread::hardware_concurrency()));
    auto read = [&](size_t nFirst)
    {
        for (size_t i = nFirst; i < vctPaths.size(); i += nThreads)
        {
            // The reader looks at the header only; no pixel is decoded. Whether the file is there is asked only when
            // the reader finds no size: one look at the disk per image instead of two.
            if (vctPaths[i].isEmpty())
                continue;
            vctStates[i].size = QImageReader(vctPaths[i]).size();
            vctStates[i].bExists = vctStates[i].size.isValid() || QFileInfo::exists(vctPaths[i]);
        }
    };
    std::vector<std::thread> vctThreads;
    for (size_t n = 1; n < nThreads; ++n)
        vctThreads.emplace_back(read, n);
    read(0);
    for (std::thread& thread : vctThreads)
        thread.join();
    return vctStates;
}

struct SImageState
{
    // Boxes (or 1 for an image flaw) per flaw.
    std::array<int, CDatasetReport::EFlaw_Count> arrCounts{};
    QString strSizeDetail;
    QString strTrainerDetail;
};

QString Boxes(int nCount)
{
    return nCount == 1 ? QString("1 box") : QString("%1 boxes").arg(nCount);
}
} // namespace

QString CDatasetReport::Title(EFlaw eFlaw)
{
    switch (eFlaw)
    {
    case EFlaw_ImageWithoutBoxes:
        return "Images without boxes";
    case EFlaw_UnknownClass:
        return "Boxes with a class that no longer exists";
    case EFlaw_BoxOutsideImage:
        return "Boxes reaching beyond the image";
    case EFlaw_TinyBox:
        return "Boxes smaller than 4x4 pixels";
    case EFlaw_DuplicateBox:
        return "Duplicate boxes";
    case EFlaw_MissingFile:
        return "Missing image files";
    case EFlaw_SizeMismatch:
        return "Image files of another size than stored";
    case EFlaw_UnusableByTrainer:
        return "Images the trainer would not use";
    case EFlaw_Count:
        break;
    }
    return QString();
}

bool CDatasetReport::Make(CDatabase* pDatabase, const QString& strProjectDir)
{
    m_vctClasses.clear();
    m_vctFlaws.clear();
    m_nImages = 0;
    m_nBoxes = 0;
    m_nImagesWithProposals = 0;
    for (int i = 0; i < EFlaw_Count; ++i)
        m_vctFlaws.append(SFlaw{static_cast<EFlaw>(i), 0, {}});
    if (!pDatabase)
        return false;

    const CProjectCategories categories(pDatabase);
    // Read by column, the boxes grouped by image: no record object per row of a table of a million boxes.
    CProjectBoxTable table;
    if (!categories.IsRead() || !table.Read(pDatabase, true))
        return false;

    const QStringList lstClassNames = categories.Names();
    for (int i = 0; i < categories.Count(); ++i)
        m_vctClasses.append(SClass{categories.IDs()[static_cast<size_t>(i)], lstClassNames[i], 0, 0});

    m_nImages = static_cast<int>(table.ImageCount());
    std::vector<int> vctProposed;
    if (!CProposalStore(pDatabase).ImagesWithProposals(vctProposed))
        return false;
    for (int nImageID : vctProposed)
        m_nImagesWithProposals += table.SlotOf(nImageID) >= 0 ? 1 : 0;
    // Every box counts, also one of an image that is gone; that one reaches neither the build nor the workspace.
    m_nBoxes = static_cast<int>(table.RoiCount());
    std::vector<SImageState> vctStates(table.ImageCount());

    // The trainer takes two images whose names differ only after their last "." for one label file.
    QHash<QString, QString> mapLabelOwners;
    const QString strRoot = strProjectDir + QDir::separator();
    std::vector<QString> vctPaths;
    vctPaths.reserve(vctStates.size());
    // A stored path that leads out of the Images folder is not looked at: the image reads as missing.
    for (size_t nImage = 0; nImage < table.ImageCount(); ++nImage)
        vctPaths.push_back(CSafeName::IsImagePath(table.Name(nImage), table.FullPath(nImage))
                               ? strRoot + table.FullPath(nImage)
                               : QString());
    const std::vector<SFileState> vctFiles = ReadFileStates(vctPaths);
    for (size_t nImage = 0; nImage < vctStates.size(); ++nImage)
    {
        SImageState& state = vctStates[nImage];
        const qint64 nStoredWidth = table.Width(nImage);
        const qint64 nStoredHeight = table.Height(nImage);
        const double dblWidth = static_cast<double>(nStoredWidth);
        const double dblHeight = static_cast<double>(nStoredHeight);
        if (table.FirstRoi(nImage) == table.EndRoi(nImage))
            state.arrCounts[EFlaw_ImageWithoutBoxes] = 1;
        std::vector<int> vctCountedClasses;
        std::vector<std::tuple<double, double, double, double, int>> vctBoxes;
        vctBoxes.reserve(table.EndRoi(nImage) - table.FirstRoi(nImage));
        for (size_t n = table.FirstRoi(nImage); n < table.EndRoi(nImage); ++n)
        {
            const size_t nRoi = table.Roi(n);
            // A coordinate that is no number counts as 0, as it always has here.
            const auto coordinate = [&table, nRoi](size_t nCoordinate)
            {
                const double dblValue = table.Box(nRoi, nCoordinate);
                return std::isnan(dblValue) ? 0.0 : dblValue;
            };
            const double dblX = coordinate(0);
            const double dblY = coordinate(1);
            const double dblBoxWidth = coordinate(2);
            const double dblBoxHeight = coordinate(3);
            const int nClass = categories.IndexOf(table.CategoryID(nRoi));
            if (nClass < 0)
                ++state.arrCounts[EFlaw_UnknownClass];
            else
            {
                SClass& category = m_vctClasses[nClass];
                ++category.nBoxes;
                bool bCounted = false;
                for (int nCounted : vctCountedClasses)
                    bCounted = bCounted || nCounted == nClass;
                if (!bCounted)
                {
                    vctCountedClasses.push_back(nClass);
                    ++category.nImages;
                }
            }
            if (dblX < 0.0 || dblY < 0.0 || dblX + dblBoxWidth > dblWidth || dblY + dblBoxHeight > dblHeight)
                ++state.arrCounts[EFlaw_BoxOutsideImage];
            if (dblBoxWidth < MIN_BOX_SIZE || dblBoxHeight < MIN_BOX_SIZE)
                ++state.arrCounts[EFlaw_TinyBox];
            vctBoxes.emplace_back(dblX, dblY, dblBoxWidth, dblBoxHeight, table.CategoryID(nRoi));
        }
        // Images carry a handful of boxes: sorting them finds the copies without a hash per image.
        std::sort(vctBoxes.begin(), vctBoxes.end());
        for (size_t i = 1; i < vctBoxes.size(); ++i)
        {
            if (vctBoxes[i] == vctBoxes[i - 1])
                ++state.arrCounts[EFlaw_DuplicateBox];
        }

        if (!vctFiles[nImage].bExists)
            state.arrCounts[EFlaw_MissingFile] = 1;
        else
        {
            const QSize size = vctFiles[nImage].size;
            if (!size.isValid())
                state.strSizeDetail =
                    QString("stored %1x%2, file size unreadable").arg(nStoredWidth).arg(nStoredHeight);
            else if (size.width() != nStoredWidth || size.height() != nStoredHeight)
                state.strSizeDetail = QString("stored %1x%2, file %3x%4")
                                          .arg(nStoredWidth)
                                          .arg(nStoredHeight)
                                          .arg(size.width())
                                          .arg(size.height());
            if (!state.strSizeDetail.isEmpty())
                state.arrCounts[EFlaw_SizeMismatch] = 1;
        }

        const QString& strName = table.Name(nImage);
        state.strTrainerDetail = CSafeName::ImageNameProblem(strName);
        if (state.strTrainerDetail.isEmpty())
            state.strTrainerDetail = CTrainerImageRule::Problem(strName);
        const QString strLabelPath = CProjectLayout::LabelEntry(strName);
        const auto itOwner = mapLabelOwners.constFind(strLabelPath);
        if (itOwner == mapLabelOwners.constEnd())
            mapLabelOwners.insert(strLabelPath, strName);
        else if (state.strTrainerDetail.isEmpty() && itOwner.value() != strName)
            state.strTrainerDetail =
                QString("its label file %1 is the label file of %2 too").arg(strLabelPath, itOwner.value());
        if (!state.strTrainerDetail.isEmpty())
            state.arrCounts[EFlaw_UnusableByTrainer] = 1;

        for (int nFlaw = 0; nFlaw < EFlaw_Count; ++nFlaw)
        {
            const int nCount = state.arrCounts[nFlaw];
            if (nCount == 0)
                continue;
            SFlaw& flaw = m_vctFlaws[nFlaw];
            flaw.nCount += nCount;
            // A name may hold a newline: the report shows it on one line.
            SImage entry{table.ImageID(nImage), CSafeName::Shown(strName), table.FullPath(nImage), QString()};
            switch (static_cast<EFlaw>(nFlaw))
            {
            case EFlaw_UnknownClass:
            case EFlaw_BoxOutsideImage:
            case EFlaw_TinyBox:
            case EFlaw_DuplicateBox:
                entry.strDetail = Boxes(nCount);
                break;
            case EFlaw_SizeMismatch:
                entry.strDetail = state.strSizeDetail;
                break;
            case EFlaw_UnusableByTrainer:
                entry.strDetail = state.strTrainerDetail;
                break;
            default:
                break;
            }
            flaw.vctImages.append(entry);
        }
    }
    return true;
}
