#include "project/annotation/CRoiAnnotation.h"

#include "canvas/CAddDrawableObjectCommand.h"
#include "canvas/CDrawableGeometry.h"
#include "canvas/CImageBounds.h"
#include "canvas/CImageView2DController.h"
#include "canvas/EImageView2DDrawbleObjectType.h"
#include "frame/CLogger.h"
#include "frame/CMVCRegistry.h"
#include "frame/CUndoCommandGroup.h"
#include "frame/CUndoStack.h"
#include "project/annotation/CDatasetROIRecord.h"
#include "project/annotation/CRoiHistories.h"
#include "project/annotation/CShownRows.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CImageWorkspaceController.h"

#include "Geometry/COvrelRectangle.h"

#include <QFileInfo>

namespace
{
// The ROI ID an object is bound to; false for an unbound object.
bool BoundRoiID(const CDrawableGeometry& object, int& nRoiID)
{
    const QVariant extraInfo = object.GetExtraInfo();
    if (extraInfo.isNull())
        return false;
    bool bOk = false;
    nRoiID = extraInfo.toInt(&bOk);
    return bOk;
}

QByteArray Utf8(const QString& strText)
{
    return strText.toUtf8();
}
} // namespace

CRoiAnnotation::CRoiAnnotation(CDatabase* pDatabase, SHost host) : m_rows(pDatabase), m_host(std::move(host)) {}

CImageWorkspaceController* CRoiAnnotation::FindWorkspace()
{
    return CMVCRegistry::FindController<CImageWorkspaceController>();
}

void CRoiAnnotation::Reset()
{
    m_nCurrentImageID = -1;
    m_nCurrentViewID = -1;
    m_mapViews.clear();
    m_mapPreviousImages.clear();
    // Another project's images reuse the IDs: no history outlives the project it was made in.
    CRoiHistories::ForgetAll(FindWorkspace());
}

void CRoiAnnotation::OpenImage(int nImageID, const QString& strPath)
{
    CImageWorkspaceController* pWorkspace = FindWorkspace();
    if (!pWorkspace)
        return;
    // The workspace would empty the chosen view and show nothing: a file gone from disk is told, not hidden.
    if (!QFileInfo(strPath).isFile())
    {
        CLogger::Write(ELogLevel_Error, "File %s not found", Utf8(strPath).constData());
        return;
    }

    int nViewID = -1;
    unsigned int nImageUID = CImageWorkspaceController::kNoImage;
    pWorkspace->OpenFileWithViewIDImageID(strPath, nViewID, nImageUID);
    if (nViewID < 0)
        return;
    ShowOpened(pWorkspace, nImageID, nViewID, nImageUID);
}

void CRoiAnnotation::OpenImageInView(int nImageID, const QString& strPath, int nViewID)
{
    CImageWorkspaceController* pWorkspace = FindWorkspace();
    CImageViewerController* pViewer = pWorkspace ? pWorkspace->GetViewerController(nViewID) : nullptr;
    if (!pViewer)
        return;
    if (!QFileInfo(strPath).isFile())
    {
        CLogger::Write(ELogLevel_Error, "File %s not found", Utf8(strPath).constData());
        return;
    }
    pViewer->OpenFile(strPath);
    ShowOpened(pWorkspace, nImageID, nViewID, pViewer->GetCurrentImageUID());
}

void CRoiAnnotation::ShowOpened(CImageWorkspaceController* pWorkspace, int nImageID, int nViewID,
                                unsigned int nImageUID)
{
    const int nShownBefore = ImageOfView(nViewID);
    if (nShownBefore >= 0 && nShownBefore != nImageID)
        m_mapPreviousImages[nViewID] = nShownBefore;
    m_nCurrentImageID = nImageID;
    m_nCurrentViewID = nViewID;
    if (nImageUID == CImageWorkspaceController::kNoImage)
    {
        // The view was emptied and shows no project image any more.
        m_mapViews.erase(nViewID);
        return;
    }
    CloseViewsOf(nImageID);
    m_mapViews[nViewID] = SViewImage{nImageUID, nImageID};
    BindObjects(pWorkspace, nViewID);

    if (!m_rows.HasDatabase())
        return;
    ShowRows(pWorkspace, nViewID, nImageID);
    CLogger::Write(ELogLevel_Debug, "Open Image ID %d", m_nCurrentImageID);
}

void CRoiAnnotation::ShowRows(CImageWorkspaceController* pWorkspace, int nViewID, int nImageID)
{
    const std::vector<std::shared_ptr<CDatasetROIRecord>> vctRows = m_rows.RowsOf(nImageID);
    // One select of the classes instead of one per row.
    const std::map<int, QString> mapNames = m_rows.ClassNames();
    std::vector<std::shared_ptr<CDrawableGeometry>> vctClassless;

    m_bShowingRows = true;
    // The image's history comes back with the very objects its commands hold while they still are its rows.
    const bool bResumed = CRoiHistories::Resume(pWorkspace, nViewID, nImageID, vctRows, mapNames);
    for (size_t i = 0; !bResumed && i < vctRows.size(); ++i)
    {
        const std::shared_ptr<CDatasetROIRecord>& pRow = vctRows[i];
        const auto itName = mapNames.find(pRow->GetCategoryID());
        auto pObject = std::make_shared<CDrawableGeometry>(std::make_shared<Ovrel::Geometry::COvrelRectangle>(
            pRow->GetX(), pRow->GetY(), pRow->GetWidth(), pRow->GetHeight()));
        CShownRows::ShowClass(*pObject, itName == mapNames.end() ? QString() : itName->second);
        if (itName == mapNames.end())
            vctClassless.push_back(pObject);
        pObject->SetExtraInfo(QVariant(pRow->GetID()));
        pWorkspace->AddRectangle(nViewID, pObject);
    }
    CRoiHistories::Keep(pWorkspace, nViewID, nImageID);
    m_bShowingRows = false;

    // Asked once every box is on the view, so that the user sees the image whole; opening itself writes nothing.
    if (vctClassless.empty() || !m_host.hasChooser || !m_host.hasChooser() || !m_host.commandStopped())
        return;
    for (const std::shared_ptr<CDrawableGeometry>& pObject : vctClassless)
        AskDeletedClass(nImageID, pObject);
}

void CRoiAnnotation::AskDeletedClass(int nImageID, const std::shared_ptr<CDrawableGeometry>& pObject)
{
    int nRoiID = -1;
    QString strClass;
    if (!BoundRoiID(*pObject, nRoiID) || !m_host.chooseDeletedClass || !m_host.chooseDeletedClass(strClass))
        return;
    const int nClassID = m_rows.GetCategoryID(strClass);
    if (nClassID < 0)
        return;
    if (m_rows.UpdateCategory(nRoiID, nClassID))
        pObject->SetName(strClass);
    Validate(nImageID);
}

void CRoiAnnotation::FollowRows()
{
    CImageWorkspaceController* pWorkspace = FindWorkspace();
    if (!pWorkspace || !m_rows.HasDatabase())
        return;
    const std::map<int, QString> mapNames = m_rows.ClassNames();
    m_bShowingRows = true;
    for (const auto& [nViewID, sImage] : m_mapViews)
    {
        CImageViewerController* pViewer = pWorkspace->GetViewerController(nViewID);
        if (!pViewer || pViewer->GetCurrentImageUID() != ProjectImageUID(nViewID, sImage))
            continue;
        std::map<int, int> mapRowClasses;
        for (const std::shared_ptr<CDatasetROIRecord>& pRow : m_rows.RowsOf(sImage.nImageID))
            mapRowClasses.emplace(pRow->GetID(), pRow->GetCategoryID());
        CShownRows::Follow(pWorkspace, nViewID, mapRowClasses, mapNames);
    }
    m_bShowingRows = false;
    // Boxes left or were relabelled without undo steps: no history may still hold commands on them. Each view's
    // history starts afresh, still its image's.
    CRoiHistories::ForgetAll(pWorkspace);
    for (const auto& [nViewID, sImage] : m_mapViews)
        CRoiHistories::Keep(pWorkspace, nViewID, sImage.nImageID);
}

int CRoiAnnotation::PreviousImageOfView(int nViewID) const
{
    const auto it = m_mapPreviousImages.find(nViewID);
    return it == m_mapPreviousImages.end() ? -1 : it->second;
}

int CRoiAnnotation::CopyPreviousBoxes(int nViewID)
{
    const int nPreviousImageID = PreviousImageOfView(nViewID);
    CImageWorkspaceController* pWorkspace = FindWorkspace();
    CImageViewerController* pViewer = pWorkspace ? pWorkspace->GetViewerController(nViewID) : nullptr;
    if (nPreviousImageID < 0 || ImageOfView(nViewID) < 0 || !pViewer)
        return 0;
    const std::vector<std::shared_ptr<CDatasetROIRecord>> vctRows = m_rows.RowsOf(nPreviousImageID);
    if (vctRows.empty())
        return 0;
    const std::map<int, QString> mapNames = m_rows.ClassNames();
    int nCopied = 0;
    int nOffImage = 0;
    CImageView2DController* pCanvas = pViewer->GetCanvasController();
    // The previous image may be larger: a box is cut to this one, as a drawn box is.
    const QRectF image = CImageBounds::ImageRect(pCanvas->GetCurrentImage().get());
    auto* pGroup = new CUndoCommandGroup();
    for (const std::shared_ptr<CDatasetROIRecord>& pRow : vctRows)
    {
        // A box whose class is gone has nothing to copy but its place; the user labels new boxes by drawing them.
        const auto itName = mapNames.find(pRow->GetCategoryID());
        if (itName == mapNames.end())
            continue;
        // Unbound with a known class: its add event gives it a row of that class without asking.
        auto pObject = std::make_shared<CDrawableGeometry>(std::make_shared<Ovrel::Geometry::COvrelRectangle>(
            pRow->GetX(), pRow->GetY(), pRow->GetWidth(), pRow->GetHeight()));
        if (!CImageBounds::Clamp(*pObject, image))
        {
            ++nOffImage;
            continue;
        }
        pObject->SetName(itName->second);
        ++nCopied;
        pGroup->AddCommand(new CAddDrawableObjectCommand(pCanvas, pObject));
    }
    if (nOffImage > 0)
        CLogger::Write(ELogLevel_Normal, "Copy boxes from previous image: %d box(es) outside image ID %d skipped",
                       nOffImage, ImageOfView(nViewID));
    if (nCopied == 0)
    {
        delete pGroup;
        return 0;
    }
    pGroup->Execute();
    pCanvas->GetUndoStack()->PushUndo(pGroup);
    pCanvas->RepaintCanvas();
    return nCopied;
}

void CRoiAnnotation::CloseImage(int nImageID)
{
    CloseViewsOf(nImageID);
    // A removed image's ID may come back with another image; its history must not.
    CRoiHistories::Forget(FindWorkspace(), nImageID);
}

void CRoiAnnotation::CloseViewsOf(int nImageID)
{
    CImageWorkspaceController* pWorkspace = FindWorkspace();
    for (auto it = m_mapViews.begin(); it != m_mapViews.end();)
    {
        if (it->second.nImageID != nImageID)
        {
            ++it;
            continue;
        }
        const int nViewID = it->first;
        const unsigned int nImageUID = ProjectImageUID(nViewID, it->second);
        it = m_mapViews.erase(it);
        // A view that moved on to another image keeps it.
        CImageViewerController* pViewer = pWorkspace ? pWorkspace->GetViewerController(nViewID) : nullptr;
        if (pViewer && pViewer->GetCurrentImageUID() == nImageUID)
            pWorkspace->CloseCurrentImage(nViewID);
    }
}

void CRoiAnnotation::BindObjects(CImageWorkspaceController* pWorkspace, int nViewID)
{
    // The boxes on the view are this image's rows: a filter must keep them on screen and a turn must not happen.
    if (CImageViewerController* pViewer = pWorkspace ? pWorkspace->GetViewerController(nViewID) : nullptr)
        pViewer->BindObjectsToCurrentImage();
}

unsigned int CRoiAnnotation::ProjectImageUID(int nViewID, const SViewImage& view)
{
    // A filter puts a new image object in place of the project image; the viewer's binding follows it, and ends when
    // the view opens another file.
    CImageWorkspaceController* pWorkspace = FindWorkspace();
    CImageViewerController* pViewer = pWorkspace ? pWorkspace->GetViewerController(nViewID) : nullptr;
    return pViewer ? pViewer->GetBoundImageUID() : view.nImageUID;
}

bool CRoiAnnotation::IsValidViewImage(int nViewID, unsigned int nImageUID) const
{
    const auto it = m_mapViews.find(nViewID);
    if (it != m_mapViews.end() && ProjectImageUID(nViewID, it->second) == nImageUID)
        return true;
    CLogger::Write(ELogLevel_Error, "Image ID %d at view %d is not valid or does not exist in database",
                   static_cast<int>(nImageUID), nViewID);
    return false;
}

int CRoiAnnotation::ImageOfView(int nViewID) const
{
    const auto it = m_mapViews.find(nViewID);
    return it == m_mapViews.end() ? -1 : it->second.nImageID;
}

int CRoiAnnotation::ImageForValidation(int nViewID) const
{
    const int nImageID = ImageOfView(nViewID);
    return nImageID >= 0 ? nImageID : m_nCurrentImageID;
}

void CRoiAnnotation::Validate(int nImageID) const
{
    if (m_host.validateImage)
        m_host.validateImage(nImageID);
}

std::shared_ptr<CDrawableGeometry> CRoiAnnotation::FindGeometry(CImageWorkspaceController* pWorkspace, int nViewID,
                                                                unsigned int nGeometryUID)
{
    if (!pWorkspace)
        return nullptr;
    const std::shared_ptr<CDrawableObject> pObject = pWorkspace->Get2DDrawableObject(nViewID, nGeometryUID);
    if (!pObject || pObject->GetType() != EImageView2DDrawbleObjectType_Geometry)
        return nullptr;
    return std::dynamic_pointer_cast<CDrawableGeometry>(pObject);
}

bool CRoiAnnotation::InsertRow(const std::shared_ptr<CDrawableGeometry>& pObject, int nImageID, int nCategoryID,
                               const QString* pName)
{
    int nRoiID = -1;
    if (!m_rows.Insert(pObject->GetBoundary(), nImageID, nCategoryID, nRoiID))
        return false;
    // Named first, bound second: the name's change event finds no row to rewrite yet.
    if (pName)
        pObject->SetName(*pName);
    pObject->SetExtraInfo(QVariant(nRoiID));
    return true;
}

void CRoiAnnotation::ObjectAdded(int nViewID, unsigned int nImageUID, unsigned int nGeometryUID, const QString& strName)
{
    // The boxes of an image being opened are bound to their rows already; ShowRows asks about those whose class is
    // gone once the image is whole.
    if (m_bShowingRows)
        return;
    if (!m_host.hasChooser || !m_host.hasChooser())
        return;
    if (!IsValidViewImage(nViewID, nImageUID))
        return;
    const int nImageID = ImageOfView(nViewID);
    CImageWorkspaceController* pWorkspace = FindWorkspace();
    const std::shared_ptr<CDrawableGeometry> pObject = FindGeometry(pWorkspace, nViewID, nGeometryUID);

    // A box that comes back through undo or redo carries the ID of the row its removal deleted.
    int nRoiID = -1;
    const bool bLostRow = pObject && m_rows.HasDatabase() && BoundRoiID(*pObject, nRoiID) && !m_rows.Find(nRoiID);
    const int nNamedClass = m_rows.GetCategoryID(strName);
    if (nNamedClass >= 0)
    {
        // A bound box whose row is there is shown by it already. One that lost its row comes back through undo or
        // redo; an unbound one with a class was copied from another image and takes that class without asking.
        const bool bUnbound = pObject && m_rows.HasDatabase() && !BoundRoiID(*pObject, nRoiID);
        if ((bLostRow || bUnbound) && m_host.commandStopped())
        {
            // A box that could not get its row leaves the screen: it would show what the file does not hold.
            if (!InsertRow(pObject, nImageID, nNamedClass))
                pWorkspace->Delete2DDrawableObject(nViewID, pObject->GetUID());
            Validate(nImageID);
        }
        return;
    }
    if (!m_host.commandStopped())
        return;
    if (!pObject)
        return;
    // Its row holds the user's box: no quick class relabels it unasked, and Cancel must not delete it.
    if (!bLostRow && m_rows.HasDatabase() && BoundRoiID(*pObject, nRoiID))
    {
        AskDeletedClass(nImageID, pObject);
        return;
    }
    if (bLostRow)
        pObject->SetExtraInfo(QVariant());

    QString strClass;
    const bool bQuick = m_host.quickClass && m_host.quickClass(strClass);
    if (!bQuick && (!m_host.chooseClass || !m_host.chooseClass(strClass)))
    {
        pWorkspace->Delete2DDrawableObject(nViewID, pObject->GetUID());
        return;
    }
    if (!m_rows.HasDatabase())
        return;
    const int nClassID = m_rows.GetCategoryID(strClass);
    if (nClassID < 0)
        return;

    if (!BoundRoiID(*pObject, nRoiID))
    {
        if (!InsertRow(pObject, nImageID, nClassID, &strClass))
            pWorkspace->Delete2DDrawableObject(nViewID, pObject->GetUID());
    }
    else if (m_rows.UpdateCategory(nRoiID, nClassID))
        pObject->SetName(strClass);
    Validate(nImageID);
}

void CRoiAnnotation::ObjectAboutToBeDeleted(int nViewID, unsigned int nImageUID, unsigned int nGeometryUID)
{
    // A box leaving because its row went already (FollowRows).
    if (m_bShowingRows)
        return;
    if (!m_host.commandStopped())
        return;
    if (!IsValidViewImage(nViewID, nImageUID) || !m_host.hasChooser || !m_host.hasChooser())
        return;
    const std::shared_ptr<CDrawableGeometry> pObject = FindGeometry(FindWorkspace(), nViewID, nGeometryUID);
    int nRoiID = -1;
    if (!pObject || !BoundRoiID(*pObject, nRoiID) || !m_rows.HasDatabase())
        return;
    m_rows.Delete(nRoiID);
    Validate(ImageForValidation(nViewID));
}

void CRoiAnnotation::ObjectChanged(int nViewID, unsigned int nImageUID, unsigned int nGeometryUID)
{
    // Adding each box of an image being opened deselects the one before: its row holds it already.
    if (m_bShowingRows)
        return;
    if (!m_host.commandStopped() || !IsValidViewImage(nViewID, nImageUID) || !m_host.hasChooser || !m_host.hasChooser())
        return;
    const std::shared_ptr<CDrawableGeometry> pObject = FindGeometry(FindWorkspace(), nViewID, nGeometryUID);
    int nRoiID = -1;
    if (!pObject || !BoundRoiID(*pObject, nRoiID) || !m_rows.HasDatabase())
        return;
    const int nImageID = ImageForValidation(nViewID);
    const QRectF box = pObject->GetBoundary();
    const std::shared_ptr<CDatasetROIRecord> pRow = m_rows.Find(nRoiID);
    if (!pRow)
    {
        // Its row went while the box stayed on screen: the box is what the user sees, so it gets a row again.
        InsertRow(pObject, nImageID, m_rows.GetCategoryID(pObject->GetName()));
        Validate(nImageID);
        return;
    }
    // A relabel, or its undo or redo, renames the box: the row takes the class the name gives. A refused write puts
    // the row's class back on the box.
    const int nNamedClass = m_rows.GetCategoryID(pObject->GetName());
    if (nNamedClass >= 0 && nNamedClass != pRow->GetCategoryID())
    {
        if (!m_rows.UpdateCategory(nRoiID, nNamedClass))
            pObject->SetName(m_rows.GetCategoryName(pRow->GetCategoryID()));
        Validate(nImageID);
    }
    else if (nNamedClass < 0)
    {
        // A name no class has (an undo back to a class deleted since) cannot be written: the box shows its row's.
        const QString strRowClass = m_rows.GetCategoryName(pRow->GetCategoryID());
        if (pObject->GetName() != strRowClass)
            pObject->SetName(strRowClass);
    }
    // Selecting or restyling a box reports a change too; a row that holds the box already needs no write, and an
    // unchanged row cannot change the image's validity.
    if (pRow->GetX() == box.x() && pRow->GetY() == box.y() && pRow->GetWidth() == box.width() &&
        pRow->GetHeight() == box.height())
    {
        CLogger::Write(ELogLevel_Debug, "Update ROI to ID %d OK", nRoiID);
        return;
    }
    m_rows.UpdateBox(nRoiID, box);
    Validate(nImageID);
}

void CRoiAnnotation::ChangeClass(int nViewID, unsigned int nGeometryUID)
{
    if (!m_host.hasChooser || !m_host.hasChooser())
        return;
    CImageWorkspaceController* pWorkspace = FindWorkspace();
    const std::shared_ptr<CDrawableGeometry> pObject = FindGeometry(pWorkspace, nViewID, nGeometryUID);
    int nRoiID = -1;
    if (!pObject || !BoundRoiID(*pObject, nRoiID) || !m_rows.HasDatabase())
        return;
    QString strClass;
    if (!m_host.chooseClass || !m_host.chooseClass(strClass))
        return;
    // The box shows its new class only once its row holds it; a class gone meanwhile leaves the box as it is.
    const int nClassID = m_rows.GetCategoryID(strClass);
    if (nClassID < 0)
        return;
    // Written before the step is pushed: a refused write leaves neither a relabelled box nor an empty step.
    if (m_rows.Find(nRoiID) && !m_rows.UpdateCategory(nRoiID, nClassID))
        return;
    // One undo step; on undo and redo the name's change event writes the row, and a box whose row went gets a new
    // one, with the new class, from it.
    if (CImageViewerController* pViewer = pWorkspace->GetViewerController(nViewID))
        pViewer->GetCanvasController()->RelabelObjects({pObject}, strClass);
    else
        pObject->SetName(strClass);
    Validate(ImageForValidation(nViewID));
}
