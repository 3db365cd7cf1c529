#pragma once

#include "frame/CController.h"

#include <QString>
#include <QStringList>

class CDatabase;
class CNewProjectDlg;
class CProjectRecordFactory;

// Creates a project from what the new-project dialog holds: the project folder with its Images folder, the project
// file with its tables, the project row, the default network configuration and the classes typed (in the order typed,
// which is their class index). A failure leaves the dialog open,
// says so in a warning box and takes back the folder that the attempt made.
class CNewProjectController : public CController
{
    Q_OBJECT
public:
    // The dialog is not owned.
    explicit CNewProjectController(CNewProjectDlg* pDialog, QObject* parent = nullptr);
    ~CNewProjectController() override;

    bool Undo() override { return false; }
    bool Redo() override { return false; }

    // A project name must be one plain folder name: not empty, not "." or "..", without a directory separator, and
    // without ";" (the separator of the recent-project list).
    static bool IsValidProjectName(const QString& strName);
    // The class names of the text: split at line ends and commas, trimmed, blanks and repeats dropped, first-seen
    // order kept.
    static QStringList ClassNames(const QString& strText);

signals:
    // Emitted after the dialog was closed and the project file released, so that the receiver can open it.
    void signal_OpenProject(const QString& strProjectDir, const QString& strProjectName);

public slots:
    void slot_AddProject();
    // Remembers the folder as the default of the next new-project dialog.
    void slot_ChangeProjectDir(const QString& strPath);

private:
    // The creation steps; true when all succeeded. The project file may be left open: the caller releases it.
    // bFolderMade tells that the project folder did not exist and was made by this call.
    bool CreateProject(const QString& strProjectDir, const QString& strProjectName, const QStringList& lstClasses,
                       bool& bDatabaseOpened, bool& bFolderMade);

    CNewProjectDlg* m_pDialog = nullptr;
    CDatabase* m_pDatabase = nullptr;
    CProjectRecordFactory* m_pRecordFactory = nullptr;
};
