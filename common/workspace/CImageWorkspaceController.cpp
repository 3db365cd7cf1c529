#include "workspace/CImageWorkspaceController.h"

#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageView2D.h"
#include "canvas/CImageViewModeModel.h"
#include "frame/CFolderMemory.h"
#include "frame/CMVCRegistry.h"
#include "frame/CPrompt.h"
#include "workspace/CImageLayoutModel.h"
#include "workspace/CImageViewer.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CImageViewerModel.h"
#include "workspace/CImageWorkspaceView.h"
#include "workspace/CSelectImageViewDialog.h"
#include "workspace/CWorkspaceBottomPanel.h"
#include "workspace/CWorkspacePropertyPanel.h"
#include "workspace/CWorkspaceToolPanel.h"

#include <QApplication>
#include <QComboBox>

namespace
{
const char* const kOpenFilter = "Files (*.bmp *.BMP *.jpg *.JPG *.jpeg *.JPEG *.png *.PNG *.gif *.GIF *.tif *.TIF "
                                "*.tiff *.TIFF *.pdf *.PDF);;All files (*.*)";
const char* const kSaveFilter =
    "Files (*.bmp *.BMP *.jpg *.JPG *.jpeg *.JPEG *.png *.PNG *.gif *.GIF *.tif *.TIF *.tiff *.TIFF)";
} // namespace

CImageWorkspaceController::CImageWorkspaceController(CImageLayoutModel* pLayoutModel, CImageWorkspaceView* pView,
                                                     CWorkspaceToolPanel* pToolPanel,
                                                     CWorkspacePropertyPanel* pPropertyPanel,
                                                     CWorkspaceBottomPanel* pBottomPanel, QObject* parent)
    : CController(parent), m_pLayoutModel(pLayoutModel), m_pView(pView), m_pToolPanel(pToolPanel),
      m_pPropertyPanel(pPropertyPanel), m_pBottomPanel(pBottomPanel),
      m_pModeModel(std::make_unique<CImageViewModeModel>())
{
    for (int i = 0; i < kViewerCount; ++i)
    {
        auto* pModel = new CImageViewerModel;
        auto* pViewer = new CImageViewer(pModel, i, pView);
        pViewer->setWindowTitle(QString("Image View [%1]").arg(i));
        auto* pController =
            new CImageViewerController(pViewer, pModel, m_pModeModel.get(), pToolPanel, pPropertyPanel, pBottomPanel);
        SMVCItem item;
        item.pModel = pModel;
        item.pController = pController;
        item.pView = pViewer;
        m_vctItems.push_back(item);
        if (!pView)
            continue;
        pView->AddImageView(pViewer, i / 2, i % 2);
        using V = CImageViewer;
        using W = CImageWorkspaceView;
        connect(pViewer, &V::signal_AddDrawableObjectWithViewID, pView, &W::signal_AddDrawableObjectWithViewID);
        connect(pViewer, &V::signal_DeleteDrawableObjectWithViewID, pView, &W::signal_DeleteDrawableObjectWithViewID);
        connect(pViewer, &V::signal_BeforeDeleteDrawableObjectWithViewID, pView,
                &W::signal_BeforeDeleteDrawableObjectWithViewID);
        connect(pViewer, &V::signal_ChangeDrawableObjectPropertyWithViewID, pView,
                &W::signal_ChangeDrawableObjectPropertyWithViewID);
        pView->UpdateLayout();
    }
    if (pView)
    {
        connect(pView, &CImageWorkspaceView::signal_ChangeLayout1x1, this,
                &CImageWorkspaceController::slot_ChangeLayout1x1);
        connect(pView, &CImageWorkspaceView::signal_ChangeLayout2x1, this,
                &CImageWorkspaceController::slot_ChangeLayout2x1);
        connect(pView, &CImageWorkspaceView::signal_ChangeLayout2x2, this,
                &CImageWorkspaceController::slot_ChangeLayout2x2);
    }
    if (pLayoutModel && pView)
        connect(pLayoutModel, &CImageLayoutModel::signal_ChangedSize, pView, &CImageWorkspaceView::slot_Update);
    // Clicking the tree to open an image takes the focus from the canvas: remember which one it was.
    if (auto* pApp = qobject_cast<QApplication*>(QCoreApplication::instance()))
        connect(pApp, &QApplication::focusChanged, this,
                [this](QWidget* /*pOld*/, QWidget* pNow)
                {
                    for (int nViewID = 0; pNow && nViewID < kViewerCount; ++nViewID)
                    {
                        CImageViewerController* pViewer = GetViewerController(nViewID);
                        if (pViewer && pViewer->GetCanvas() == pNow)
                            m_nFocusedViewID = nViewID;
                    }
                });
    CMVCRegistry::PushMVC(pLayoutModel, pView, this);
}

CImageWorkspaceController::~CImageWorkspaceController()
{
    // Each viewer controller takes its canvas along, so no canvas is left with the mode model deleted below.
    for (const SMVCItem& item : m_vctItems)
    {
        delete item.pController;
        delete item.pModel;
    }
}

CImageViewerController* CImageWorkspaceController::ControllerOf(const SMVCItem& item)
{
    return static_cast<CImageViewerController*>(item.pController);
}

CImageViewerController* CImageWorkspaceController::GetViewerController(int nViewID) const
{
    return nViewID >= 0 && nViewID < static_cast<int>(m_vctItems.size()) ? ControllerOf(m_vctItems[nViewID]) : nullptr;
}

CImageViewer* CImageWorkspaceController::GetViewer(int nViewID) const
{
    CImageViewerController* pController = GetViewerController(nViewID);
    return pController ? pController->GetViewer() : nullptr;
}

void CImageWorkspaceController::AddRectangle(int nViewID, std::shared_ptr<CDrawableGeometry> pObject)
{
    for (const SMVCItem& item : m_vctItems)
    {
        CImageViewerController* pController = ControllerOf(item);
        if (pController->GetViewID() == nViewID)
        {
            pController->AddObject(std::move(pObject));
            return;
        }
    }
}

std::shared_ptr<CDrawableObject> CImageWorkspaceController::Get2DDrawableObject(int nViewID,
                                                                                unsigned int nGeometryUID) const
{
    CImageViewerController* pController = GetViewerController(nViewID);
    if (!pController)
        return nullptr;
    const CDrawableObjectModel* pObjects = pController->GetObjectModel();
    for (int i = 0; i < pObjects->GetObjectCount(); ++i)
    {
        std::shared_ptr<CDrawableObject> pObject = pObjects->GetObject(i);
        if (pObject && pObject->GetUID() == nGeometryUID)
            return pObject;
    }
    return nullptr;
}

bool CImageWorkspaceController::Delete2DDrawableObject(int nViewID, unsigned int nGeometryUID)
{
    CImageViewerController* pController = GetViewerController(nViewID);
    return pController && pController->DeleteObject(nGeometryUID);
}

void CImageWorkspaceController::CloseCurrentImage(int nViewID)
{
    for (const SMVCItem& item : m_vctItems)
    {
        CImageViewerController* pController = ControllerOf(item);
        if (pController->GetViewID() == nViewID)
        {
            pController->CloseCurrentImage();
            return;
        }
    }
}

SMVCItem CImageWorkspaceController::SelectMVC()
{
    if (!m_pLayoutModel || m_vctItems.empty())
        return SMVCItem();
    const int nShown = m_pLayoutModel->GetRow() * m_pLayoutModel->GetColumn();
    if (nShown < 2)
        return m_vctItems.front();
    CSelectImageViewDialog dialog(m_pView);
    for (int i = 0; i < nShown; ++i)
        dialog.AddItem(QString("Image View [%1]").arg(i));
    if (m_nFocusedViewID < nShown)
        dialog.GetComboBox()->setCurrentIndex(m_nFocusedViewID);
    if (CPrompt::ExecDialog(&dialog) != QDialog::Accepted)
        return SMVCItem();
    const QString strChosen = dialog.GetCurrentText();
    for (const SMVCItem& item : m_vctItems)
    {
        if (item.pView && item.pView->windowTitle() == strChosen)
            return item;
    }
    return SMVCItem();
}

void CImageWorkspaceController::OpenFile(const QString& strPath)
{
    const SMVCItem item = SelectMVC();
    if (item.pController)
        ControllerOf(item)->OpenFile(strPath);
}

void CImageWorkspaceController::OpenFileWithViewIDImageID(const QString& strPath, int& nViewID, unsigned int& nImageUID)
{
    nViewID = -1;
    nImageUID = kNoImage;
    if (!m_pView || !m_pLayoutModel)
        return;
    const SMVCItem item = SelectMVC();
    if (!item.pController)
        return;
    CImageViewerController* pController = ControllerOf(item);
    pController->OpenFile(strPath);
    nViewID = pController->GetViewID();
    nImageUID = pController->GetCurrentImageUID();
}

void CImageWorkspaceController::RegisterGeometryAction(const QString& strText, const QIcon& icon,
                                                       const std::function<void(int, unsigned int)>& callback)
{
    for (const SMVCItem& item : m_vctItems)
        ControllerOf(item)->RegisterGeometryAction(strText, icon, callback);
}

void CImageWorkspaceController::ChangeLayout(int nRows, int nColumns)
{
    if (m_pLayoutModel)
        m_pLayoutModel->ChangeSize(nColumns, nRows);
}

bool CImageWorkspaceController::Undo()
{
    for (const SMVCItem& item : m_vctItems)
        ControllerOf(item)->Undo();
    return false;
}

bool CImageWorkspaceController::Redo()
{
    for (const SMVCItem& item : m_vctItems)
        ControllerOf(item)->Redo();
    return false;
}

void CImageWorkspaceController::slot_OpenFilePath(QString strFile)
{
    OpenFile(strFile);
}

void CImageWorkspaceController::slot_OpenFile()
{
    const QString strPath =
        CPrompt::GetOpenFileName(m_pView, "Open File", CFolderMemory::Folder(CFolderMemory::IMAGES), kOpenFilter);
    CFolderMemory::Remember(CFolderMemory::IMAGES, strPath);
    if (!strPath.isEmpty())
        OpenFile(strPath);
}

void CImageWorkspaceController::slot_SaveFile()
{
    const SMVCItem item = SelectMVC();
    if (!item.pController)
        return;
    const QString strPath = CPrompt::GetSaveFileName(m_pView, "Save Image", QString(), kSaveFilter);
    if (!strPath.isEmpty())
        ControllerOf(item)->SaveFile(strPath);
}

void CImageWorkspaceController::slot_ChangeLayout1x1()
{
    if (m_pLayoutModel)
        m_pLayoutModel->ChangeSize(1, 1);
}

void CImageWorkspaceController::slot_ChangeLayout2x1()
{
    if (m_pLayoutModel)
        m_pLayoutModel->ChangeSize(2, 1);
}

void CImageWorkspaceController::slot_ChangeLayout2x2()
{
    if (m_pLayoutModel)
        m_pLayoutModel->ChangeSize(2, 2);
}

void CImageWorkspaceController::slot_Convert() {}

void CImageWorkspaceController::slot_SelectFiles(std::vector<QFileInfo> vctFiles)
{
    for (const QFileInfo& info : vctFiles)
    {
        if (info.isFile())
        {
            OpenFile(info.filePath());
            return;
        }
    }
}
