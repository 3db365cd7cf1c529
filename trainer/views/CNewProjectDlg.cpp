#include "views/CNewProjectDlg.h"

#include "frame/CPrompt.h"
#include "frame/CSetting.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>

CNewProjectDlg::CNewProjectDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("New Project");
    auto* pLayout = new QGridLayout(this);

    m_pNameEdit = new QLineEdit(this);
    pLayout->addWidget(new QLabel("Name: ", this), 0, 0);
    pLayout->addWidget(m_pNameEdit, 0, 1);

    auto* pFolderRow = new QWidget(this);
    auto* pFolderLayout = new QHBoxLayout(pFolderRow);
    pFolderLayout->setContentsMargins(0, 0, 0, 0);
    m_pFolderEdit = new QLineEdit(pFolderRow);
    m_pFolderEdit->setText(CSetting::GetString("GENERAL_PROJECT_DIR",
                                               QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
    m_pSelectButton = new QPushButton("Select", pFolderRow);
    pFolderLayout->addWidget(m_pFolderEdit);
    pFolderLayout->addWidget(m_pSelectButton);
    pLayout->addWidget(new QLabel("Folder: ", this), 1, 0);
    pLayout->addWidget(pFolderRow, 1, 1);

    // Classes typed here let a project start labelling at once, without a trip through the class editor.
    m_pClassesEdit = new QPlainTextEdit(this);
    m_pClassesEdit->setPlaceholderText("One class per line, or separated by commas (optional)");
    m_pClassesEdit->setTabChangesFocus(true);
    pLayout->addWidget(new QLabel("Classes: ", this), 2, 0, Qt::AlignTop);
    pLayout->addWidget(m_pClassesEdit, 2, 1);

    m_pAddButton = new QPushButton("Add", this);
    pLayout->addWidget(m_pAddButton, 3, 0);
    // Return after typing the name adds the project. Without this the first auto-default button in the focus chain,
    // "Select", would take Return and open the folder chooser instead.
    m_pSelectButton->setAutoDefault(false);
    m_pAddButton->setDefault(true);

    connect(m_pSelectButton, &QPushButton::pressed, this, &CNewProjectDlg::slot_SelectFolder);
    connect(m_pAddButton, &QPushButton::pressed, this, &CNewProjectDlg::signal_AddProject);
    connect(m_pFolderEdit, &QLineEdit::textChanged, this, &CNewProjectDlg::signal_ChangeProjectDir);
}

QString CNewProjectDlg::GetProjectName() const
{
    return m_pNameEdit ? m_pNameEdit->text() : QString();
}

QString CNewProjectDlg::GetProjectDir() const
{
    return m_pFolderEdit ? m_pFolderEdit->text() : QString();
}

QString CNewProjectDlg::GetClassesText() const
{
    return m_pClassesEdit ? m_pClassesEdit->toPlainText() : QString();
}

void CNewProjectDlg::slot_SelectFolder()
{
    if (!m_pFolderEdit)
        return;
    const QString strFolder = CPrompt::GetExistingDirectory(this, QString(), QString());
    // A cancelled chooser answers nothing; an empty folder would also become the stored default.
    if (!strFolder.isEmpty())
        m_pFolderEdit->setText(strFolder);
}
