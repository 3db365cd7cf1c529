#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CController.h"
#include "frame/SMVC.h"

#include <QFileInfo>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CDrawableGeometry;
class CDrawableObject;
class CImageLayoutModel;
class CImageViewModeModel;
class CImageViewer;
class CImageViewerController;
class CImageWorkspaceView;
class CWorkspaceBottomPanel;
class CWorkspacePropertyPanel;
class CWorkspaceToolPanel;
class QIcon;

// The image workspace: four image viewers ("Image View [0]" to "Image View [3]", view IDs 0 to 3), of which the
// layout model's grid shows one, two or four. Opens and saves files in a viewer the user chooses (viewer 0 without
// asking while fewer than two are shown), switches layouts, forwards undo and redo, and is the one way to the
// drawable objects of every viewer by view ID and UID. Every object change, by the user, by undo and redo or through
// the operations here, reaches listeners as the workspace view's four object signals, before the operation returns.
// Registers (layout model, view, itself) with the registry.
class OVRELCOMMON_EXPORT CImageWorkspaceController : public CController
{
    Q_OBJECT
public:
    static constexpr int kViewerCount = 4;
    static constexpr unsigned int kNoImage = ~0u;

    // Nothing given is owned; the viewers become the view's children. The three panels receive the side panels of
    // the active canvas.
    CImageWorkspaceController(CImageLayoutModel* pLayoutModel, CImageWorkspaceView* pView,
                              CWorkspaceToolPanel* pToolPanel, CWorkspacePropertyPanel* pPropertyPanel,
                              CWorkspaceBottomPanel* pBottomPanel, QObject* parent = nullptr);
    ~CImageWorkspaceController() override;

    // Adds the object to viewer nViewID as its only selected object, without an undo step. Nothing for an unknown
    // view ID.
    void AddRectangle(int nViewID, std::shared_ptr<CDrawableGeometry> pObject);
    // The object with that UID on viewer nViewID, or empty.
    std::shared_ptr<CDrawableObject> Get2DDrawableObject(int nViewID, unsigned int nGeometryUID) const;
    // Deletes the object without an undo step; false for an unknown view ID or UID.
    bool Delete2DDrawableObject(int nViewID, unsigned int nGeometryUID);
    // Removes the current image of viewer nViewID and clears its objects.
    void CloseCurrentImage(int nViewID);
    // Opens the file (an image, or a PDF's pages) in place of a chosen viewer's images and clears its objects.
    void OpenFile(const QString& strPath);
    // As OpenFile, and tells where the file went: nViewID -1 when no viewer was chosen, nImageUID all bits set when
    // no image was opened.
    void OpenFileWithViewIDImageID(const QString& strPath, int& nViewID, unsigned int& nImageUID);
    // Adds an entry to the object menu of every canvas; choosing it calls back with (view ID, object UID).
    void RegisterGeometryAction(const QString& strText, const QIcon& icon,
                                const std::function<void(int, unsigned int)>& callback);
    // The layout model's ChangeSize(nColumns, nRows).
    void ChangeLayout(int nRows, int nColumns);

    // Each viewer acts only when its canvas has the keyboard focus. Return false.
    bool Undo() override;
    bool Redo() override;

    CImageViewModeModel* GetModeModel() const { return m_pModeModel.get(); }
    // Null for an unknown view ID.
    CImageViewerController* GetViewerController(int nViewID) const;
    CImageViewer* GetViewer(int nViewID) const;

public slots:
    void slot_OpenFilePath(QString strFile);
    void slot_OpenFile();
    void slot_SaveFile();
    void slot_ChangeLayout1x1();
    void slot_ChangeLayout2x1();
    void slot_ChangeLayout2x2();
    void slot_Convert();
    // Opens the first entry that is a file; folders and the entries after it are passed over.
    void slot_SelectFiles(std::vector<QFileInfo> vctFiles);

private:
    // The viewer to act on: viewer 0 while fewer than two are shown, else the user's choice; empty when cancelled.
    // The choice offered first is the viewer whose canvas had the keyboard focus last, when it is shown.
    SMVCItem SelectMVC();
    static CImageViewerController* ControllerOf(const SMVCItem& item);

    QPointer<CImageLayoutModel> m_pLayoutModel;
    QPointer<CImageWorkspaceView> m_pView;
    QPointer<CWorkspaceToolPanel> m_pToolPanel;
    QPointer<CWorkspacePropertyPanel> m_pPropertyPanel;
    QPointer<CWorkspaceBottomPanel> m_pBottomPanel;
    std::unique_ptr<CImageViewModeModel> m_pModeModel;
    std::vector<SMVCItem> m_vctItems;
    // The viewer whose canvas had the keyboard focus last: the one the user works in, even once the tree has it.
    int m_nFocusedViewID = 0;
};
