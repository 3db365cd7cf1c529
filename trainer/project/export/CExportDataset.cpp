#include "project/export/CExportDataset.h"

#include "project/classes/CProjectCategories.h"
#include "project/store/CBoxRule.h"
#include "project/store/CDatasetImageEntry.h"
#include "project/store/CProjectBoxTable.h"
#include "project/store/CProjectLayout.h"

#include <QDir>

#include <algorithm>
#include <charconv>
#include <cmath>

bool CExportDataset::Read(CDatabase* pDatabase, const EntryList& vctTrain, const EntryList& vctTest,
                          const QString& strProjectDir)
{
    *this = CExportDataset();
    CProjectBoxTable table;
    if (!table.Read(pDatabase))
    {
        m_strFailure = table.FailedTable();
        return false;
    }
    const CProjectCategories categories(pDatabase);
    if (!categories.IsRead())
    {
        m_strFailure = CProjectCategories::Table();
        return false;
    }
    m_lstClassNames = categories.Names();
    const CProjectLayout layout(QDir(strProjectDir).absolutePath());

    m_vctImages.reserve(vctTrain.size() + vctTest.size());
    m_vctBoxes.reserve(table.RoiCount());
    QSet<int> setListed;
    for (const EntryList* pList : {&vctTrain, &vctTest})
    {
        for (const auto& pEntry : *pList)
        {
            const long nSlot = pEntry ? table.SlotOf(pEntry->GetImageID()) : -1;
            if (nSlot < 0)
            {
                m_imagesWithoutRow.Add(pEntry ? pEntry->GetName() : QString());
                continue;
            }
            const size_t nRow = static_cast<size_t>(nSlot);
            const QString& strName = table.Name(nRow);
            if (setListed.contains(pEntry->GetImageID()))
            {
                m_imagesListedTwice.Add(strName);
                continue;
            }
            setListed.insert(pEntry->GetImageID());
            SImage sImage;
            sImage.nWidth = table.Width(nRow);
            sImage.nHeight = table.Height(nRow);
            if (sImage.nWidth == 0 || sImage.nHeight == 0)
            {
                m_imagesWithoutSize.Add(strName);
                continue;
            }
            sImage.nImageID = pEntry->GetImageID();
            sImage.bTrain = pList == &vctTrain;
            sImage.strSource = layout.ImageFile(strName);
            sImage.strName = DistinctName(strName);
            if (sImage.strName != strName)
                m_renamedImages.Add(strName);
            sImage.nFirstBox = m_vctBoxes.size();
            const double dblImageWidth = sImage.nWidth;
            const double dblImageHeight = sImage.nHeight;
            for (size_t n = table.FirstRoi(nRow); n < table.EndRoi(nRow); ++n)
            {
                const size_t nRoi = table.Roi(n);
                const int nClass = categories.IndexOf(table.CategoryID(nRoi));
                if (nClass < 0)
                {
                    m_boxesWithoutClass.Add(strName);
                    continue;
                }
                const double dblX = table.Box(nRoi, 0);
                const double dblY = table.Box(nRoi, 1);
                const double dblWidth = table.Box(nRoi, 2);
                const double dblHeight = table.Box(nRoi, 3);
                if (!CBoxRule::IsUsableInPixels(dblX, dblY, dblWidth, dblHeight, dblImageWidth, dblImageHeight))
                {
                    m_unusableBoxes.Add(strName);
                    continue;
                }
                // Only a box beyond an edge changes: one inside keeps the stored numbers exactly.
                SBox sBox;
                sBox.nClass = nClass;
                const double dblLeft = std::max(dblX, 0.0);
                const double dblTop = std::max(dblY, 0.0);
                const double dblRight = std::min(dblX + dblWidth, dblImageWidth);
                const double dblBottom = std::min(dblY + dblHeight, dblImageHeight);
                sBox.bCut =
                    dblLeft != dblX || dblTop != dblY || dblRight != dblX + dblWidth || dblBottom != dblY + dblHeight;
                sBox.dblX = dblLeft;
                sBox.dblY = dblTop;
                sBox.dblWidth = sBox.bCut ? dblRight - dblLeft : dblWidth;
                sBox.dblHeight = sBox.bCut ? dblBottom - dblTop : dblHeight;
                if (!(sBox.dblWidth > 0.0) || !(sBox.dblHeight > 0.0))
                {
                    m_unusableBoxes.Add(strName);
                    continue;
                }
                if (sBox.bCut)
                    m_cutBoxes.Add(strName);
                m_vctBoxes.push_back(sBox);
            }
            sImage.nEndBox = m_vctBoxes.size();
            m_vctImages.push_back(std::move(sImage));
        }
    }
    return true;
}

QString CExportDataset::DistinctName(const QString& strName)
{
    const QString strStem = Stem(strName);
    QString strKey = strStem.toLower();
    if (!m_setTakenStems.contains(strKey))
    {
        m_setTakenStems.insert(strKey);
        return strName;
    }
    const QString strExtension = strName.mid(strStem.size());
    for (int n = 1;; ++n)
    {
        const QString strCandidate = QString("%1_%2").arg(strStem).arg(n);
        strKey = strCandidate.toLower();
        if (!m_setTakenStems.contains(strKey))
        {
            m_setTakenStems.insert(strKey);
            return strCandidate + strExtension;
        }
    }
}

QStringList CExportDataset::Notes() const
{
    QStringList lstNotes;
    const auto note = [&lstNotes](const SCount& sCount, const char* pText)
    {
        if (sCount.nCount > 0)
            lstNotes.append(QString("%1 %2 (first on %3)").arg(sCount.nCount).arg(pText, sCount.strFirst));
    };
    note(m_imagesWithoutRow, "listed images without a row in the project file skipped");
    note(m_imagesWithoutSize, "images without a stored size skipped");
    note(m_imagesListedTwice, "images listed a second time skipped");
    note(m_boxesWithoutClass, "boxes of a class the project lacks skipped");
    note(m_unusableBoxes, "boxes of no size or far outside their image skipped");
    note(m_cutBoxes, "boxes cut at their image's edges");
    note(m_renamedImages, "images renamed to keep their names distinct");
    return lstNotes;
}

QString CExportDataset::Stem(const QString& strName)
{
    const int nDot = strName.lastIndexOf('.');
    return nDot < 0 ? strName : strName.left(nDot);
}

void CExportDataset::AppendNumber(QByteArray& baText, double dblValue)
{
    // Boxes are cut to their image, so a fixed notation stays short; an exponent would stop integer readers.
    char arrBuffer[400];
    const std::to_chars_result result =
        std::to_chars(arrBuffer, arrBuffer + sizeof(arrBuffer), dblValue, std::chars_format::fixed);
    if (result.ec == std::errc())
        baText.append(arrBuffer, static_cast<int>(result.ptr - arrBuffer));
    else
        baText.append('0');
}

QByteArray CExportDataset::Number(double dblValue)
{
    QByteArray baText;
    AppendNumber(baText, dblValue);
    return baText;
}
