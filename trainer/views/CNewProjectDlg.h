#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Asks for the name of a new project, the folder it goes into and, optionally, its class names. The dialog only
// collects; its controller creates the project and closes the dialog when that succeeded.
class CNewProjectDlg : public QDialog
{
    Q_OBJECT
public:
    // The folder field starts with the folder last used (GENERAL_PROJECT_DIR), else the documents folder. "Add" is
    // the default button: Return in either field adds the project.
    explicit CNewProjectDlg(QWidget* parent = nullptr);

    QString GetProjectName() const;
    QString GetProjectDir() const;
    // The class field as typed: names one per line or separated by commas.
    QString GetClassesText() const;

    QLineEdit* GetNameField() const { return m_pNameEdit; }
    QLineEdit* GetFolderField() const { return m_pFolderEdit; }
    QPlainTextEdit* GetClassesField() const { return m_pClassesEdit; }
    QPushButton* GetAddButton() const { return m_pAddButton; }

signals:
    void signal_AddProject();
    // Every change of the folder field, typed or chosen.
    void signal_ChangeProjectDir(const QString& strPath);

public slots:
    // Asks for a folder; a cancelled choice leaves the field as it was.
    void slot_SelectFolder();

private:
    QLineEdit* m_pFolderEdit = nullptr;
    QLineEdit* m_pNameEdit = nullptr;
    QPlainTextEdit* m_pClassesEdit = nullptr;
    QPushButton* m_pSelectButton = nullptr;
    QPushButton* m_pAddButton = nullptr;
};
