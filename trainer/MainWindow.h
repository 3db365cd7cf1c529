#pragma once

#include "CWindowMemory.h"

#include <QMainWindow>
#include <QVariant>

#include <memory>
#include <vector>

class CController;
class CBoxListController;
class CBoxListView;
class CDatasetReportView;
class CEvaluationActions;
class CEvaluationDock;
class CEvaluationView;
class CTrainingChartModel;
class CTrainingChartView;
class CImageLayoutModel;
class CInsightDocks;
class CImageWorkspaceController;
class CImageWorkspaceView;
class CMainWindowActions;
class CModelActions;
class CModel;
class CProjectController;
class CProjectModel;
class CProjectView;
class CCanvasKeyActions;
class CCanvasNavigationActions;
class CQuickAnnotationActions;
class CSettingController;
class CTrainerSettingView;
class QAction;
class QMenu;
class QSplitter;

// One open tool window: the window owns model and controller; the view is a child or deletes itself.
struct STool
{
    CModel* pModel = nullptr;
    CController* pController = nullptr;
    QWidget* pView = nullptr;
};

// The training program's window: the project tree and file explorer on the left, the image workspace above the log in
// the middle, the canvas panels around it, and the commands of the tool bar and menus. The title names the open
// project ("<name> - OvrelTrainer"). While the trainer runs, the commands that would change the project and the
// workspace are disabled; while no project is open, so are those that act on one.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    int GetCommandState() const { return m_nCommandState; }

    CImageLayoutModel* GetLayoutModel() const { return m_pLayoutModel; }
    CImageWorkspaceView* GetWorkspaceView() const { return m_pWorkspaceView; }
    CImageWorkspaceController* GetWorkspaceController() const { return m_pWorkspaceController; }
    CProjectModel* GetProjectModel() const { return m_pProjectModel; }
    CProjectView* GetProjectView() const { return m_pProjectView; }
    CProjectController* GetProjectController() const { return m_pProjectController; }
    CTrainerSettingView* GetSettingView() const { return m_pSettingView; }
    CTrainingChartModel* GetTrainingChartModel() const;
    CTrainingChartView* GetTrainingChartView() const;
    CDatasetReportView* GetDatasetReportView() const;
    CBoxListView* GetBoxListView() const { return m_pBoxListView; }
    CEvaluationView* GetEvaluationView() const;
    QMenu* GetRecentMenu() const;
    // The command with that text ("Open Project", "Undo", "Build", "[2x1]"...), null when there is none.
    QAction* GetAction(const QString& strText) const;
    // Shows the window as the last close left it (place, size, docks, splitters, workspace grid), fitted onto today's
    // screens; the first start opens maximized.
    void ShowAsLeft() { m_pWindowMemory->RestoreAndShow(); }
    // The project file named on the command line: the first argument after the program's own that is not an option;
    // empty when there is none.
    static QString ProjectArgument(const QStringList& lstArguments);

public slots:
    // Act on the canvas that has the keyboard focus only.
    void slot_Undo();
    void slot_Redo();
    // Each opens one more tool window beside the window, kept in the tool list until the window goes.
    void slot_Sobel();
    void slot_Median();
    void slot_OCR();
    void slot_Settings();
    // Forgets the tool window whose view is pObject, deleting its controller and model.
    void slot_DeleteObject(QObject* pObject);
    void slot_OpenNewProjectDlg();
    void slot_OpenProject(const QString& strProjectDir, const QString& strProjectName);
    void slot_OpenProjectFile();
    // Opens the project file at that path as "Open Project" does, telling its failures (a missing file among them)
    // the same way.
    void slot_OpenProjectPath(const QString& strPath);
    void slot_Start();
    void slot_Stop();
    void slot_Build();
    // "Dataset Report": reports the open project's data set in the "Dataset Report" dock and shows the dock.
    void slot_DatasetReport();
    // Follows the project model's command state: stopped enables everything but "Stop"; running or starting disables
    // "Open Project", "New Project", "Save", "Undo", "Redo", "Setting", "Start" and the workspace, and enables "Stop".
    // Whatever the state, the commands that act on the project ("Save", "Undo", "Redo", "Build", "Start",
    // "Dataset Report") stay disabled while no project is open.
    void slot_ChangeCommandState();
    void slot_About();
    void slot_Exit();
    // Every settings change rebuilds the "Recent" menu from GENERAL_PROGRAME_HISTORIES.
    void slot_UpdateSettingParameters(const QString& strName, const QVariant& value);
    void slot_OpenRecentProject();

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private slots:
    void slot_UpdateTitle();

private:
    void CreateDocks();
    void CreateActions();
    void OpenTool(int eTool);
    // Enables the commands for the trainer's last known state and whether a project is open.
    void UpdateCommands();
    // The list of the focused viewer's boxes, tabbed with the right dock.
    void CreateBoxListDock();

    CImageLayoutModel* m_pLayoutModel = nullptr;
    CImageWorkspaceView* m_pWorkspaceView = nullptr;
    CImageWorkspaceController* m_pWorkspaceController = nullptr;
    CProjectModel* m_pProjectModel = nullptr;
    CProjectView* m_pProjectView = nullptr;
    CProjectController* m_pProjectController = nullptr;
    CTrainerSettingView* m_pSettingView = nullptr;
    CSettingController* m_pSettingController = nullptr;
    std::vector<STool> m_vctTools;
    // The tool bar, the menus and the actions that the slots reach later.
    std::unique_ptr<CMainWindowActions> m_pActions;
    // "Import Dataset" and "Quick class" with its class box.
    std::unique_ptr<CQuickAnnotationActions> m_pQuickActions;
    // "Next Image", "Previous Image", "Next Image Without Boxes" and "Copy boxes from previous image".
    std::unique_ptr<CCanvasNavigationActions> m_pNavigationActions;
    // "Draw Box", "Keep Drawing Mode" and "Keyboard Shortcuts".
    std::unique_ptr<CCanvasKeyActions> m_pKeyActions;
    // "Detect", "Pre-label Images", "Choose Weights..." and "Detection Threshold...".
    std::unique_ptr<CModelActions> m_pModelActions;
    // "Evaluate" and "Check Training Labels"; a child of the window.
    CEvaluationActions* m_pEvaluationActions = nullptr;
    int m_nCommandState = 0;
    // The last known state: an unknown one leaves the commands as they were.
    bool m_bTrainerStopped = true;
    CInsightDocks* m_pInsightDocks = nullptr;
    CBoxListView* m_pBoxListView = nullptr;
    CBoxListController* m_pBoxListController = nullptr;
    // The "Evaluation" dock, tabbed with the right dock and hidden until an evaluation is shown.
    CEvaluationDock* m_pEvaluationDock = nullptr;
    // Saves the window's look when it closes; goes first, while everything it reads still exists.
    CWindowMemory* m_pWindowMemory = nullptr;
};
