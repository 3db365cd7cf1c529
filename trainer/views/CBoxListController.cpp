#include "views/CBoxListController.h"

#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageView2DController.h"
#include "canvas/EImageView2DDrawbleObjectType.h"
#include "project/CProjectController.h"
#include "views/CBoxListView.h"
#include "workspace/CImageViewer.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CImageWorkspaceController.h"

#include <QApplication>

CBoxListController::CBoxListController(CBoxListView* pView, CImageWorkspaceController* pWorkspace,
                                       CProjectController* pProject, QObject* parent)
    : QObject(parent), m_pView(pView), m_pWorkspace(pWorkspace), m_pProject(pProject)
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* pNow) { FocusChanged(pNow); });
    if (m_pView)
    {
        connect(m_pView, &CBoxListView::signal_SelectBoxes, this, &CBoxListController::SelectBoxes);
        connect(m_pView, &CBoxListView::signal_DeleteBoxes, this, &CBoxListController::DeleteBoxes);
        connect(m_pView, &CBoxListView::signal_RelabelBox, this, &CBoxListController::RelabelBox);
        connect(m_pView, &CBoxListView::signal_Shown, this, &CBoxListController::ScheduleRefresh);
    }
    ShowView(0);
}

void CBoxListController::FocusChanged(QWidget* pNow)
{
    // The list follows the viewer the user works in; a focus elsewhere (the list itself) keeps it.
    for (int nViewID = 0; pNow && m_pWorkspace && nViewID < CImageWorkspaceController::kViewerCount; ++nViewID)
    {
        CImageViewer* pViewer = m_pWorkspace->GetViewer(nViewID);
        if (pViewer && (pViewer == pNow || pViewer->isAncestorOf(pNow)))
        {
            if (nViewID != m_nViewID)
                ShowView(nViewID);
            return;
        }
    }
}

void CBoxListController::ShowView(int nViewID)
{
    if (m_pObjects)
        disconnect(m_pObjects, nullptr, this, nullptr);
    m_nViewID = nViewID;
    CImageViewerController* pViewer = m_pWorkspace ? m_pWorkspace->GetViewerController(nViewID) : nullptr;
    m_pObjects = pViewer ? pViewer->GetObjectModel() : nullptr;
    if (m_pObjects)
    {
        connect(m_pObjects, &CDrawableObjectModel::signal_AddDrawableObject, this, [this]() { ScheduleRefresh(); });
        connect(m_pObjects, &CDrawableObjectModel::signal_DeleteDrawableObject, this, [this]() { ScheduleRefresh(); });
        connect(m_pObjects, &CDrawableObjectModel::signal_ChangeDrawableObjectProperty, this,
                [this]() { ScheduleRefresh(); });
        connect(m_pObjects, &CDrawableObjectModel::signal_ClearObject, this, [this]() { ScheduleRefresh(); });
    }
    ScheduleRefresh();
}

void CBoxListController::ScheduleRefresh()
{
    // Selecting a thousand boxes sends a thousand changes: the list is read once after them.
    if (m_bRefreshPending)
        return;
    m_bRefreshPending = true;
    QMetaObject::invokeMethod(
        this, [this]() { Refresh(); }, Qt::QueuedConnection);
}

void CBoxListController::Refresh()
{
    m_bRefreshPending = false;
    // A list out of sight costs nothing while thousands of boxes change; it is read afresh when it is shown.
    if (!m_pView || !m_pView->isVisible())
        return;
    std::vector<CBoxListView::SBox> vctBoxes;
    for (int i = 0; m_pObjects && i < m_pObjects->GetObjectCount(); ++i)
    {
        const std::shared_ptr<CDrawableObject> pObject = m_pObjects->GetObject(i);
        if (!pObject || pObject->GetType() != EImageView2DDrawbleObjectType_Geometry)
            continue;
        vctBoxes.push_back({pObject->GetUID(), pObject->GetName(), pObject->GetColour(), pObject->GetBoundary(),
                            pObject->GetSelected()});
    }
    m_pView->SetBoxes(vctBoxes);
}

void CBoxListController::SelectBoxes(const QList<unsigned int>& lstUIDs)
{
    for (int i = 0; m_pObjects && i < m_pObjects->GetObjectCount(); ++i)
    {
        const std::shared_ptr<CDrawableObject> pObject = m_pObjects->GetObject(i);
        if (pObject && pObject->GetType() == EImageView2DDrawbleObjectType_Geometry)
            pObject->SetSelected(lstUIDs.contains(pObject->GetUID()));
    }
}

void CBoxListController::DeleteBoxes()
{
    CImageViewerController* pViewer = m_pWorkspace ? m_pWorkspace->GetViewerController(m_nViewID) : nullptr;
    if (pViewer)
        pViewer->GetCanvasController()->slot_PressKey(Qt::Key_Delete);
}

void CBoxListController::RelabelBox(unsigned int nUID)
{
    if (m_pProject)
        m_pProject->ChangeROIClass(m_nViewID, nUID);
}
