#include "project/report/CDatasetReport.h"

#include "database/CDatabase.h"
#include "project/build/CTrainerImageRule.h"
#include "project/classes/CProjectCategories.h"
#include "project/store/CDatasetImageRecord.h"
#include "project/store/CDatasetROIRecord.h"
#include "project/store/CProjectLayout.h"
#include "project/store/CSafeName.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>

#include <algorithm>
#include <array>
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
            vctStates[i].bExists = QFileInfo::exists(vctPaths[i]);
            // The reader looks at the header only; no pixel is decoded.
            if (vctStates[i].bExists)
                vctStates[i].size = QImageReader(vctPaths[i]).size();
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
    const CDatasetImageRecord* pRecord = nullptr;
    std::vector<const CDatasetROIRecord*> vctRois;
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
    for (int i = 0; i < EFlaw_Count; ++i)
        m_vctFlaws.append(SFlaw{static_cast<EFlaw>(i), 0, {}});
    if (!pDatabase)
        return false;

    const CProjectCategories categories(pDatabase);
    std::vector<std::shared_ptr<CDatabaseRecord>> vctImages;
    if (!categories.IsRead() || !pDatabase->SelectFromTable(CDatasetImageRecord::TABLE_NAME, vctImages, {}))
        return false;
    // A record per box costs more than the rest of the report: the boxes are read as plain column values, all from
    // one select, so that every column's entry i is the same row's.
    std::vector<std::vector<QVariant>> arrValues;
    if (!pDatabase->SelectColumns(CDatasetROIRecord::TABLE_NAME,
                                  {"X", "Y", "WIDTH", "HEIGHT", "IMAGE_ID", "CATEGORY_ID"}, {}, arrValues))
        return false;
    std::vector<CDatasetROIRecord> vctRois(arrValues[0].size());
    for (size_t i = 0; i < vctRois.size(); ++i)
    {
        vctRois[i].SetX(arrValues[0][i].toDouble());
        vctRois[i].SetY(arrValues[1][i].toDouble());
        vctRois[i].SetWidth(arrValues[2][i].toDouble());
        vctRois[i].SetHeight(arrValues[3][i].toDouble());
        vctRois[i].SetImageID(arrValues[4][i].toInt());
        vctRois[i].SetCategoryID(arrValues[5][i].toInt());
    }

    const QStringList lstClassNames = categories.Names();
    for (int i = 0; i < categories.Count(); ++i)
        m_vctClasses.append(SClass{categories.IDs()[static_cast<size_t>(i)], lstClassNames[i], 0, 0});

    std::vector<SImageState> vctStates;
    vctStates.reserve(vctImages.size());
    std::unordered_map<int, size_t> mapImageIndex;
    for (const auto& pRecord : vctImages)
    {
        if (const auto* pImage = dynamic_cast<const CDatasetImageRecord*>(pRecord.get()))
        {
            mapImageIndex.emplace(pImage->GetID(), vctStates.size());
            vctStates.push_back(SImageState{pImage, {}, {}, QString(), QString()});
        }
    }
    m_nImages = static_cast<int>(vctStates.size());
    for (const CDatasetROIRecord& roi : vctRois)
    {
        const CDatasetROIRecord* pRoi = &roi;
        ++m_nBoxes;
        const auto itImage = mapImageIndex.find(pRoi->GetImageID());
        // A box of an image that is gone reaches neither the build nor the workspace: there is no image to show.
        if (itImage != mapImageIndex.end())
            vctStates[itImage->second].vctRois.push_back(pRoi);
    }

    // The trainer takes two images whose names differ only after their last "." for one label file.
    QHash<QString, QString> mapLabelOwners;
    const QString strRoot = strProjectDir + QDir::separator();
    std::vector<QString> vctPaths;
    vctPaths.reserve(vctStates.size());
    // A stored path that leads out of the Images folder is not looked at: the image reads as missing.
    for (const SImageState& state : vctStates)
        vctPaths.push_back(CSafeName::IsImagePath(state.pRecord->GetName(), state.pRecord->GetFullPath())
                               ? strRoot + state.pRecord->GetFullPath()
                               : QString());
    const std::vector<SFileState> vctFiles = ReadFileStates(vctPaths);
    for (size_t nImage = 0; nImage < vctStates.size(); ++nImage)
    {
        SImageState& state = vctStates[nImage];
        const CDatasetImageRecord& image = *state.pRecord;
        const double dblWidth = image.GetWidth();
        const double dblHeight = image.GetHeight();
        if (state.vctRois.empty())
            state.arrCounts[EFlaw_ImageWithoutBoxes] = 1;
        std::vector<int> vctCountedClasses;
        std::vector<std::tuple<double, double, double, double, int>> vctBoxes;
        vctBoxes.reserve(state.vctRois.size());
        for (const CDatasetROIRecord* pRoi : state.vctRois)
        {
            const int nClass = categories.IndexOf(pRoi->GetCategoryID());
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
            if (pRoi->GetX() < 0.0 || pRoi->GetY() < 0.0 || pRoi->GetX() + pRoi->GetWidth() > dblWidth ||
                pRoi->GetY() + pRoi->GetHeight() > dblHeight)
                ++state.arrCounts[EFlaw_BoxOutsideImage];
            if (pRoi->GetWidth() < MIN_BOX_SIZE || pRoi->GetHeight() < MIN_BOX_SIZE)
                ++state.arrCounts[EFlaw_TinyBox];
            vctBoxes.emplace_back(pRoi->GetX(), pRoi->GetY(), pRoi->GetWidth(), pRoi->GetHeight(),
                                  pRoi->GetCategoryID());
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
                    QString("stored %1x%2, file size unreadable").arg(image.GetWidth()).arg(image.GetHeight());
            else if (size.width() != static_cast<int>(image.GetWidth()) ||
                     size.height() != static_cast<int>(image.GetHeight()))
                state.strSizeDetail = QString("stored %1x%2, file %3x%4")
                                          .arg(image.GetWidth())
                                          .arg(image.GetHeight())
                                          .arg(size.width())
                                          .arg(size.height());
            if (!state.strSizeDetail.isEmpty())
                state.arrCounts[EFlaw_SizeMismatch] = 1;
        }

        const QString strName = image.GetName();
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
            SImage entry{image.GetID(), CSafeName::Shown(strName), image.GetFullPath(), QString()};
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
