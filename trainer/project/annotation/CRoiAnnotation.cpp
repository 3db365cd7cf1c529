#include "project/annotation/CRoiAnnotation.h"

#include "canvas/CAddDrawableObjectCommand.h"
#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageBounds.h"
#include "canvas/CImageView2DController.h"
#include "canvas/EImageView2DDrawbleObjectType.h"
#include "frame/CLogger.h"
#include "frame/CMVCRegistry.h"
#include "frame/CUndoCommandGroup.h"
#include "frame/CUndoStack.h"
#include "project/annotation/CRoiHistories.h"
#include "project/annotation/CShownRows.h"
#include "project/annotation/IRoiAnnotationHost.h"
#include "project/classes/CClassColours.h"
#include "project/store/CDatasetROIRecord.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CImageWorkspaceController.h"

#include "Geometry/COvrelRectangle.h"

#include <QFileInfo>

namespace
{
QByteArray Utf8(const QString& strText)
{
    return strText.toUtf8();
}
} // namespace

CRoiAnnotation::CRoiAnnotation(CDatabase* pDatabase, std::unique_ptr<IRoiAnnotationHost> pHost)
    : m_pDatabase(pDatabase), m_pHost(std::move(pHost)), m_boxRows(pDatabase, *m_pHost)
{
}

CRoiAnnotation::~CRoiAnnotation() = default;

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
    m_boxRows.ForgetKnownRows();
    m_classes = CProjectCategories(nullptr);
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
    CImageViewerController* pViewer = pWorkspace->GetViewerController(nViewID);
    m_mapViews[nViewID] = SViewImage{nImageUID, nImageID, pViewer ? pViewer->GetObjectModel() : nullptr};
    BindObjects(pWorkspace, nViewID);

    if (!m_boxRows.HasDatabase())
        return;
    ShowRows(pWorkspace, nViewID, nImageID);
    CLogger::Write(ELogLevel_Debug, "Open Image ID %d", m_nCurrentImageID);
}

void CRoiAnnotation::ShowRows(CImageWorkspaceController* pWorkspace, int nViewID, int nImageID)
{
    const CRoiRows& rows = m_boxRows.Rows();
    const std::vector<std::shared_ptr<CDatasetROIRecord>> vctRows = rows.RowsOf(nImageID);
    // One select of the classes instead of one per row; the same read gives the boxes their colours.
    m_classes = rows.Classes();
    const std::map<int, QString> mapNames = CRoiRows::ClassNames(m_classes);
    std::vector<std::shared_ptr<CDrawableGeometry>> vctClassless;
    m_boxRows.KnowRows(vctRows);

    // The image's history comes back with the very objects its commands hold while they still are its rows. Either
    // way the boxes arrive bound to their rows, so their add events write nothing.
    if (!CRoiHistories::Resume(pWorkspace, nViewID, nImageID, vctRows, mapNames))
    {
        const std::vector<std::shared_ptr<CDrawableGeometry>> vctBoxes =
            CRoiBoxRows::BoxesOf(vctRows, mapNames, vctClassless);
        // Coloured before they are shown, so that colouring them announces nothing.
        for (const std::shared_ptr<CDrawableGeometry>& pBox : vctBoxes)
            ShowColour(*pBox);
        CImageViewerController* pViewer = pWorkspace->GetViewerController(nViewID);
        if (pViewer && !vctBoxes.empty())
            pViewer->GetObjectModel()->AddObjects({vctBoxes.begin(), vctBoxes.end()});
    }
    else
        // The classes may have moved in the table since the history was parked.
        ShowColours(nViewID);
    CRoiHistories::Keep(pWorkspace, nViewID, nImageID);
    m_boxRows.AskGoneClasses(nImageID, vctClassless);
}

void CRoiAnnotation::FollowClasses()
{
    // With no project image shown, the next one shown reads the table anyway.
    m_classes = CProjectCategories(m_mapViews.empty() ? nullptr : m_pDatabase);
    for (const auto& view : m_mapViews)
        ShowColours(view.first);
}

bool CRoiAnnotation::ShowColour(CDrawableGeometry& object) const
{
    const QColor colour = CClassColours::OfName(m_classes, object.GetName());
    if (object.GetColour() == colour)
        return false;
    object.SetColour(colour);
    return true;
}

void CRoiAnnotation::ShowColours(int nViewID) const
{
    const auto it = m_mapViews.find(nViewID);
    const CDrawableObjectModel* pObjects = it == m_mapViews.end() ? nullptr : it->second.pObjects.data();
    // Collected first: a colour's change event may change the list being read.
    std::vector<std::shared_ptr<CDrawableGeometry>> vctBoxes;
    for (int i = 0; pObjects && i < pObjects->GetObjectCount(); ++i)
    {
        const std::shared_ptr<CDrawableObject> pObject = pObjects->GetObject(i);
        if (pObject && pObject->GetType() == EImageView2DDrawbleObjectType_Geometry)
            if (auto pBox = std::dynamic_pointer_cast<CDrawableGeometry>(pObject))
                vctBoxes.push_back(std::move(pBox));
    }
    for (const std::shared_ptr<CDrawableGeometry>& pBox : vctBoxes)
        ShowColour(*pBox);
}

void CRoiAnnotation::FollowRows()
{
    m_boxRows.ForgetKnownRows();
    CImageWorkspaceController* pWorkspace = FindWorkspace();
    const CRoiRows& rows = m_boxRows.Rows();
    if (!pWorkspace || !rows.HasDatabase())
        return;
    // A deleted class moved the classes after it up the table, and their colours with them.
    m_classes = rows.Classes();
    const std::map<int, QString> mapNames = CRoiRows::ClassNames(m_classes);
    for (const auto& [nViewID, sImage] : m_mapViews)
    {
        CImageViewerController* pViewer = pWorkspace->GetViewerController(nViewID);
        if (!pViewer || pViewer->GetCurrentImageUID() != ProjectImageUID(nViewID, sImage))
            continue;
        std::map<int, int> mapRowClasses;
        for (const std::shared_ptr<CDatasetROIRecord>& pRow : rows.RowsOf(sImage.nImageID))
            mapRowClasses.emplace(pRow->GetID(), pRow->GetCategoryID());
        CShownRows::Follow(pWorkspace, nViewID, mapRowClasses, mapNames);
    }
    // Boxes left or were relabelled without undo steps: no history may still hold commands on them. Each view's
    // history starts afresh, still its image's.
    CRoiHistories::ForgetAll(pWorkspace);
    for (const auto& [nViewID, sImage] : m_mapViews)
    {
        ShowColours(nViewID);
        CRoiHistories::Keep(pWorkspace, nViewID, sImage.nImageID);
    }
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
    const std::vector<std::shared_ptr<CDatasetROIRecord>> vctRows = m_boxRows.Rows().RowsOf(nPreviousImageID);
    if (vctRows.empty())
        return 0;
    const std::map<int, QString> mapNames = m_boxRows.Rows().ClassNames();
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
        ShowColour(*pObject);
        ++nCopied;
        pGroup->AddCommand(new CAddDrawableObjectCommand(pCanvas->GetDrawableObjectModel(), pObject));
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
    m_boxRows.ForgetKnownRows();
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

std::shared_ptr<CDrawableGeometry> CRoiAnnotation::FindGeometry(int nViewID, unsigned int nGeometryUID) const
{
    const auto it = m_mapViews.find(nViewID);
    const std::shared_ptr<CDrawableObject> pObject =
        it != m_mapViews.end() && it->second.pObjects ? it->second.pObjects->FindObject(nGeometryUID) : nullptr;
    if (!pObject || pObject->GetType() != EImageView2DDrawbleObjectType_Geometry)
        return nullptr;
    return std::dynamic_pointer_cast<CDrawableGeometry>(pObject);
}

void CRoiAnnotation::ObjectAdded(int nViewID, unsigned int nImageUID, unsigned int nGeometryUID, const QString& strName)
{
    if (!m_pHost->HasChooser() || !IsValidViewImage(nViewID, nImageUID))
        return;
    const std::shared_ptr<CDrawableGeometry> pObject = FindGeometry(nViewID, nGeometryUID);
    // A box that cannot have its row leaves the screen: it would show what the file does not hold.
    if (!m_boxRows.Added(ImageOfView(nViewID), pObject, strName))
        m_mapViews[nViewID].pObjects->DeleteObject(pObject);
    else if (pObject)
        ShowColour(*pObject);
}

void CRoiAnnotation::ObjectAboutToBeDeleted(int nViewID, unsigned int nImageUID, unsigned int nGeometryUID)
{
    // A box without a row (a ruler, a box whose row went with its class) has nothing to delete and asks nothing.
    const std::shared_ptr<CDrawableGeometry> pObject = FindGeometry(nViewID, nGeometryUID);
    int nRoiID = -1;
    if (!pObject || !CRoiBoxRows::BoundRoiID(*pObject, nRoiID))
        return;
    if (!m_pHost->CommandStopped() || !IsValidViewImage(nViewID, nImageUID) || !m_pHost->HasChooser())
        return;
    m_boxRows.AboutToBeDeleted(ImageForValidation(nViewID), *pObject);
}

void CRoiAnnotation::ObjectChanged(int nViewID, unsigned int nImageUID, unsigned int nGeometryUID)
{
    // An unbound box has no row to write; a new box is named before it is bound to its row.
    const std::shared_ptr<CDrawableGeometry> pObject = FindGeometry(nViewID, nGeometryUID);
    // A new name may be another class's: the colour's own change event, sent from within, does the rest.
    if (pObject && m_pHost->HasChooser() && ShowColour(*pObject))
        return;
    int nRoiID = -1;
    if (!pObject || !CRoiBoxRows::BoundRoiID(*pObject, nRoiID))
        return;
    if (!IsValidViewImage(nViewID, nImageUID) || !m_pHost->HasChooser())
        return;
    m_boxRows.Changed(ImageForValidation(nViewID), *pObject);
}

void CRoiAnnotation::ChangeClass(int nViewID, unsigned int nGeometryUID)
{
    if (!m_pHost->HasChooser())
        return;
    CImageWorkspaceController* pWorkspace = FindWorkspace();
    const std::shared_ptr<CDrawableGeometry> pObject = FindGeometry(nViewID, nGeometryUID);
    QString strClass;
    if (!pObject || !m_boxRows.ChooseNewClass(*pObject, strClass))
        return;
    // One undo step; on undo and redo the name's change event writes the row, and a box whose row went gets a new
    // one, with the new class, from it.
    if (CImageViewerController* pViewer = pWorkspace ? pWorkspace->GetViewerController(nViewID) : nullptr)
        pViewer->GetCanvasController()->RelabelObjects({pObject}, strClass);
    else
        pObject->SetName(strClass);
    m_boxRows.Validate(ImageForValidation(nViewID));
}
