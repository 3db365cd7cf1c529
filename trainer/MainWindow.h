#pragma once

#include <QMainWindow>
#include <QVariant>

#include <vector>

class CController;
class CModel;
class CProjectController;
class CProjectModel;
class CProjectView;
class CSettingController;
class CTrainerSettingView;
class QAction;
class QMenu;

// One open tool window: the window owns model and controller; the view is a child or deletes itself.
struct STool
{
    CModel* pModel = nullptr;
    CController* pController = nullptr;
    QWidget* pView = nullptr;
};

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    int GetCommandState() const { return m_nCommandState; }

    CProjectModel* GetProjectModel() const { return m_pProjectModel; }
    CProjectView* GetProjectView() const { return m_pProjectView; }
    CProjectController* GetProjectController() const { return m_pProjectController; }
    CTrainerSettingView* GetSettingView() const { return m_pSettingView; }
    QMenu* GetRecentMenu() const { return m_pRecentMenu; }

    // Splits a project file path at its last directory separator (folder) and its last "." (name). Without a "."
    // after the separator the name runs to the end.
    static void SplitProjectFilePath(const QString& strPath, QString& strProjectDir, QString& strProjectName);

public slots:
    void slot_Settings();
    // Forgets the tool window whose view is pObject, deleting its controller and model.
    void slot_DeleteObject(QObject* pObject);
    void slot_OpenNewProjectDlg();
    void slot_OpenProject(const QString& strProjectDir, const QString& strProjectName);
    void slot_OpenProjectFile();
    void slot_ChangeCommandState();
    void slot_About();
    void slot_Exit();
    // Every settings change rebuilds the "Recent" menu from GENERAL_PROGRAME_HISTORIES.
    void slot_UpdateSettingParameters(const QString& strName, const QVariant& value);
    void slot_OpenRecentProject();

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void CreateSettings();
    void CreateDocks();
    void CreateActions();

    CProjectModel* m_pProjectModel = nullptr;
    CProjectView* m_pProjectView = nullptr;
    CProjectController* m_pProjectController = nullptr;
    CTrainerSettingView* m_pSettingView = nullptr;
    CSettingController* m_pSettingController = nullptr;
    std::vector<STool> m_vctTools;
    QAction* m_pOpenProjectAction = nullptr;
    QAction* m_pNewProjectAction = nullptr;
    QAction* m_pSettingAction = nullptr;
    QMenu* m_pRecentMenu = nullptr;
    int m_nCommandState = 0;
};
