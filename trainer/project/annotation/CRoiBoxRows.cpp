#include "project/annotation/CRoiBoxRows.h"

#include "canvas/CDrawableGeometry.h"
#include "frame/CLogger.h"
#include "project/annotation/IRoiAnnotationHost.h"
#include "project/store/CDatasetROIRecord.h"

#include "Geometry/COvrelRectangle.h"

CRoiBoxRows::CRoiBoxRows(CDatabase* pDatabase, IRoiAnnotationHost& host) : m_rows(pDatabase), m_host(host) {}

bool CRoiBoxRows::BoundRoiID(const CDrawableGeometry& object, int& nRoiID)
{
    const QVariant extraInfo = object.GetExtraInfo();
    if (extraInfo.isNull())
        return false;
    bool bOk = false;
    nRoiID = extraInfo.toInt(&bOk);
    return bOk;
}

void CRoiBoxRows::ShowClass(CDrawableGeometry& object, const QString& strClass)
{
    // An empty name given to an object never named keeps the made-up one; it is stored over another name.
    if (strClass.isEmpty() && !object.GetName().isEmpty())
        object.SetName(QStringLiteral(" "));
    object.SetName(strClass);
}

std::vector<std::shared_ptr<CDrawableGeometry>>
CRoiBoxRows::BoxesOf(const std::vector<std::shared_ptr<CDatasetROIRecord>>& vctRows,
                     const std::map<int, QString>& mapNames,
                     std::vector<std::shared_ptr<CDrawableGeometry>>& vctClassless)
{
    std::vector<std::shared_ptr<CDrawableGeometry>> vctBoxes;
    for (const std::shared_ptr<CDatasetROIRecord>& pRow : vctRows)
    {
        const auto itName = mapNames.find(pRow->GetCategoryID());
        auto pObject = std::make_shared<CDrawableGeometry>(std::make_shared<Ovrel::Geometry::COvrelRectangle>(
            pRow->GetX(), pRow->GetY(), pRow->GetWidth(), pRow->GetHeight()));
        ShowClass(*pObject, itName == mapNames.end() ? QString() : itName->second);
        pObject->SetExtraInfo(QVariant(pRow->GetID()));
        if (itName == mapNames.end())
            vctClassless.push_back(pObject);
        vctBoxes.push_back(std::move(pObject));
    }
    return vctBoxes;
}

bool CRoiBoxRows::InsertRow(CDrawableGeometry& object, int nImageID, int nCategoryID, const QString* pName)
{
    if (pName)
        object.SetName(*pName);
    int nRoiID = -1;
    if (!m_rows.Insert(object.GetBoundary(), nImageID, nCategoryID, nRoiID))
        return false;
    object.SetExtraInfo(QVariant(nRoiID));
    m_setKnownRows.insert(nRoiID);
    return true;
}

bool CRoiBoxRows::Added(int nImageID, const std::shared_ptr<CDrawableGeometry>& pObject, const QString& strName)
{
    int nRoiID = -1;
    const bool bBound = pObject && HasDatabase() && BoundRoiID(*pObject, nRoiID);
    // Made from its row (an image being opened, its history coming back): the row holds it already. Boxes whose
    // class is gone are asked about once the image is whole (AskGoneClasses).
    if (bBound && (m_setKnownRows.count(nRoiID) > 0 || m_rows.Find(nRoiID)))
        return true;
    // What is bound now comes back through undo or redo with the ID of the row its removal deleted.
    const bool bLostRow = bBound;
    const int nNamedClass = m_rows.GetCategoryID(strName);
    if (nNamedClass >= 0)
    {
        const bool bUnbound = pObject && HasDatabase() && !bBound;
        if (!(bLostRow || bUnbound) || !m_host.CommandStopped())
            return true;
        const bool bKept = InsertRow(*pObject, nImageID, nNamedClass);
        Validate(nImageID);
        return bKept;
    }
    if (!m_host.CommandStopped() || !pObject)
        return true;
    if (bLostRow)
        pObject->SetExtraInfo(QVariant());

    QString strClass;
    const bool bQuick = m_host.QuickClass(strClass);
    if (!bQuick && !m_host.ChooseClass(strClass))
        return false;
    if (!HasDatabase())
        return true;
    const int nClassID = m_rows.GetCategoryID(strClass);
    if (nClassID < 0)
        return true;
    const bool bKept = InsertRow(*pObject, nImageID, nClassID, &strClass);
    Validate(nImageID);
    return bKept;
}

void CRoiBoxRows::AboutToBeDeleted(int nImageID, const CDrawableGeometry& object)
{
    int nRoiID = -1;
    if (!HasDatabase() || !BoundRoiID(object, nRoiID))
        return;
    m_setKnownRows.erase(nRoiID);
    m_rows.Delete(nRoiID);
    Validate(nImageID);
}

void CRoiBoxRows::Changed(int nImageID, CDrawableGeometry& object)
{
    int nRoiID = -1;
    if (!HasDatabase() || !BoundRoiID(object, nRoiID))
        return;
    const QRectF box = object.GetBoundary();
    const std::shared_ptr<CDatasetROIRecord> pRow = m_rows.Find(nRoiID);
    const int nNamedClass = m_rows.GetCategoryID(object.GetName());
    const bool bSameBox = pRow && pRow->GetX() == box.x() && pRow->GetY() == box.y() &&
                          pRow->GetWidth() == box.width() && pRow->GetHeight() == box.height();
    // Selecting a box, or showing it what its row holds, reports a change too: a row that holds the box and its
    // class already needs no write, and an unchanged row cannot change the image's validity.
    if (bSameBox && (nNamedClass < 0 ? object.GetName() == m_rows.GetCategoryName(pRow->GetCategoryID())
                                     : nNamedClass == pRow->GetCategoryID()))
    {
        CLogger::Write(ELogLevel_Debug, "Update ROI to ID %d OK", nRoiID);
        return;
    }
    if (!m_host.CommandStopped())
        return;
    if (!pRow)
    {
        // Its row went while the box stayed on screen: the box is what the user sees, so it gets a row again.
        InsertRow(object, nImageID, nNamedClass);
        Validate(nImageID);
        return;
    }
    // A relabel, or its undo or redo, renames the box: the row takes the class the name gives. A refused write puts
    // the row's class back on the box.
    if (nNamedClass >= 0 && nNamedClass != pRow->GetCategoryID())
    {
        if (!m_rows.UpdateCategory(nRoiID, nNamedClass))
            object.SetName(m_rows.GetCategoryName(pRow->GetCategoryID()));
        Validate(nImageID);
    }
    else if (nNamedClass < 0)
    {
        // A name no class has (an undo back to a class deleted since) cannot be written: the box shows its row's.
        const QString strRowClass = m_rows.GetCategoryName(pRow->GetCategoryID());
        if (object.GetName() != strRowClass)
            object.SetName(strRowClass);
    }
    if (bSameBox)
    {
        CLogger::Write(ELogLevel_Debug, "Update ROI to ID %d OK", nRoiID);
        return;
    }
    m_rows.UpdateBox(nRoiID, box);
    Validate(nImageID);
}

bool CRoiBoxRows::ChooseNewClass(const CDrawableGeometry& object, QString& strClass)
{
    int nRoiID = -1;
    if (!HasDatabase() || !BoundRoiID(object, nRoiID) || !m_host.ChooseClass(strClass))
        return false;
    // The box shows its new class only once its row holds it; a class gone meanwhile leaves the box as it is.
    const int nClassID = m_rows.GetCategoryID(strClass);
    if (nClassID < 0)
        return false;
    // Written before the box changes: a refused write leaves neither a relabelled box nor an empty step.
    return !m_rows.Find(nRoiID) || m_rows.UpdateCategory(nRoiID, nClassID);
}

void CRoiBoxRows::AskGoneClasses(int nImageID, const std::vector<std::shared_ptr<CDrawableGeometry>>& vctClassless)
{
    // Asked once every box is on the view, so that the user sees the image whole; showing rows itself writes nothing.
    if (vctClassless.empty() || !m_host.HasChooser() || !m_host.CommandStopped())
        return;
    for (const std::shared_ptr<CDrawableGeometry>& pObject : vctClassless)
        AskGoneClass(nImageID, *pObject);
}

void CRoiBoxRows::AskGoneClass(int nImageID, CDrawableGeometry& object)
{
    int nRoiID = -1;
    QString strClass;
    if (!BoundRoiID(object, nRoiID) || !m_host.ChooseDeletedClass(strClass))
        return;
    const int nClassID = m_rows.GetCategoryID(strClass);
    if (nClassID < 0)
        return;
    if (m_rows.UpdateCategory(nRoiID, nClassID))
        object.SetName(strClass);
    Validate(nImageID);
}

void CRoiBoxRows::KnowRows(const std::vector<std::shared_ptr<CDatasetROIRecord>>& vctRows)
{
    for (const std::shared_ptr<CDatasetROIRecord>& pRow : vctRows)
        m_setKnownRows.insert(pRow->GetID());
}

void CRoiBoxRows::Validate(int nImageID)
{
    m_host.ValidateImage(nImageID);
}
