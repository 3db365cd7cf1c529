#pragma once

#include <QPointer>

class CImageViewerController;
class CImageWorkspaceController;
class CMainWindowActions;
class CProjectController;
class CProjectModel;
class QAction;
class QComboBox;
class QWidget;

// The main window's commands for fast labelling and bringing labelled data in and out: "Import Dataset" in the "File"
// menu (enabled while a project is open and the trainer is stopped), "Export Dataset..." below it (while a project is
// open), the checkable "Quick class" in the "Edit" menu and,
// in the tool bar, the combo box of the class that new boxes take while it is on. Both are remembered as settings
// (CRoiAnnotationHost::QUICK_CLASS and QUICK_CLASS_NAME); "Quick class" is off unless stored on. The actions and the
// combo box are children of the window; this object only keeps pointers. The keys 1 to 9 over a canvas with selected
// boxes give them the first to ninth class of the project (one undo step); over a canvas without a selection, while
// "Quick class" is on, they choose that class of the combo box.
class CQuickAnnotationActions
{
public:
    // The actions are made children of pWindow and placed in the menus and the tool bar of its commands. Workspace,
    // model and controller are not owned and must outlive the window's actions; the workspace may be null.
    CQuickAnnotationActions(QWidget* pWindow, const CMainWindowActions& commands, CImageWorkspaceController* pWorkspace,
                            CProjectModel* pModel, CProjectController* pController);

    // Fills the combo box with the open project's classes, keeping the stored class selected when it is offered.
    void RefreshClasses();
    // Follows the project and the trainer's state.
    void UpdateEnabled();
    // A key pressed over a canvas: 1 to 9 choose that class while "Quick class" is on; others change nothing.
    void CanvasKey(int nKey);
    // A key pressed over the canvas of the viewer: 1 to 9 give its selected boxes the first to ninth class of the
    // project as one undo step. False when the key, the selection or the classes leave nothing to relabel.
    bool RelabelSelection(CImageViewerController* pViewer, int nKey);

    QAction* pImportDataset = nullptr;
    // "Export Dataset...", below "Import Dataset"; enabled while a project is open.
    QAction* pExportDataset = nullptr;
    QAction* pQuickClass = nullptr;
    QComboBox* pClassBox = nullptr;

private:
    QPointer<CProjectModel> m_pModel;
    QPointer<CProjectController> m_pController;
    bool m_bFilling = false;
};
