#include "views/CNewProjectController.h"

#include "database/CDatabase.h"
#include "frame/CLogger.h"
#include "frame/CPrompt.h"
#include "frame/CSetting.h"
#include "project/store/CCategoryRecord.h"
#include "project/store/CProjectLayout.h"
#include "project/store/CProjectPropertyRecord.h"
#include "project/store/CProjectRecordFactory.h"
#include "project/store/CProjectTrainingRecord.h"
#include "project/store/CSafeName.h"
#include "views/CNewProjectDlg.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <memory>
#include <vector>

namespace
{
QString ReadUtf8Resource(const QString& strPath, bool& bOk)
{
    QFile file(strPath);
    bOk = file.open(QIODevice::ReadOnly);
    if (!bOk)
        return QString();
    return QString::fromUtf8(file.readAll());
}
} // namespace

CNewProjectController::CNewProjectController(CNewProjectDlg* pDialog, QObject* parent)
    : CController(parent), m_pDialog(pDialog)
{
    if (m_pDialog)
    {
        connect(m_pDialog, &CNewProjectDlg::signal_AddProject, this, &CNewProjectController::slot_AddProject);
        connect(m_pDialog, &CNewProjectDlg::signal_ChangeProjectDir, this,
                &CNewProjectController::slot_ChangeProjectDir);
    }
    m_pRecordFactory = new CProjectRecordFactory();
    m_pDatabase = new CDatabase(m_pRecordFactory);
}

CNewProjectController::~CNewProjectController()
{
    // The database still points at the factory: it goes first.
    delete m_pDatabase;
    delete m_pRecordFactory;
}

bool CNewProjectController::IsValidProjectName(const QString& strName)
{
    if (strName.isEmpty() || strName == "." || strName == "..")
        return false;
    // ";" separates the entries of the recent-project list.
    return !strName.contains('/') && !strName.contains('\\') && !strName.contains(QDir::separator()) &&
           !strName.contains(';');
}

QStringList CNewProjectController::ClassNames(const QString& strText)
{
    QStringList lstNames;
    QSet<QString> setSeen;
    for (const QString& strPiece : strText.split(QRegularExpression("[,\r\n]")))
    {
        const QString strName = strPiece.trimmed();
        // The category table holds each name once; a repeat typed by mistake is not worth refusing the project.
        if (strName.isEmpty() || setSeen.contains(strName))
            continue;
        setSeen.insert(strName);
        lstNames.append(strName);
    }
    return lstNames;
}

void CNewProjectController::slot_ChangeProjectDir(const QString& strPath)
{
    CSetting::Set("GENERAL_PROJECT_DIR", strPath);
}

void CNewProjectController::slot_AddProject()
{
    if (!m_pDialog || !m_pDatabase)
        return;
    const QString strProjectName = m_pDialog->GetProjectName();
    const QString strParentDir = m_pDialog->GetProjectDir();
    const QString strProjectDir = strParentDir + QDir::separator() + strProjectName;
    const QStringList lstClasses = ClassNames(m_pDialog->GetClassesText());
    // Refused as the class editor refuses it, before anything is made: the dialog stays open with the text.
    for (const QString& strClass : lstClasses)
    {
        const QString strProblem = CSafeName::ClassNameProblem(strClass);
        if (strProblem.isEmpty())
            continue;
        const QString strText = QString("Cannot save class %1: %2").arg(CSafeName::Shown(strClass), strProblem);
        CLogger::Write(ELogLevel_Error, "%s", strText.toUtf8().constData());
        CPrompt::Warning(m_pDialog, CSetting::GetString("GENERAL_PROGRAME_NAME", "OvrelTrainer"), strText);
        return;
    }

    bool bCreated = false;
    // An empty folder would put the project at the root of the file system.
    if (IsValidProjectName(strProjectName) && !strParentDir.isEmpty())
    {
        bool bDatabaseOpened = false;
        bool bFolderMade = false;
        bCreated = CreateProject(strProjectDir, strProjectName, lstClasses, bDatabaseOpened, bFolderMade);
        // The project controller opens the same file next; it must find it released.
        if (bDatabaseOpened)
            m_pDatabase->Close();
        // A half-made project would block its name for good: take back exactly what this attempt made.
        if (!bCreated && bFolderMade)
            QDir(strProjectDir).removeRecursively();
    }
    if (!bCreated)
    {
        const QByteArray baName = strProjectName.toUtf8();
        CLogger::Write(ELogLevel_Error, "Cannot create project %s in %s", baName.constData(),
                       strParentDir.toUtf8().constData());
        CPrompt::Warning(m_pDialog, CSetting::GetString("GENERAL_PROGRAME_NAME", "OvrelTrainer"),
                         QString::asprintf("Cannot create project %s", baName.constData()));
        return;
    }

    m_pDialog->close();
    emit signal_OpenProject(strProjectDir, strProjectName);
}

bool CNewProjectController::CreateProject(const QString& strProjectDir, const QString& strProjectName,
                                          const QStringList& lstClasses, bool& bDatabaseOpened, bool& bFolderMade)
{
    bDatabaseOpened = false;
    bFolderMade = false;
    if (QFileInfo::exists(strProjectDir))
        return false;
    // mkdir, not mkpath: a parent folder that does not exist is a failure, not something to make up.
    if (!QDir().mkdir(strProjectDir))
        return false;
    bFolderMade = true;
    const CProjectLayout layout(strProjectDir, strProjectName);
    const QString strImageDir = layout.ImagesFolder();
    if (!QDir(strImageDir).exists() && !QDir().mkdir(strImageDir))
        return false;

    bool bOk = false;
    const QString strSchema = ReadUtf8Resource(":/Files/tamsel_database_sqlite.sql", bOk);
    if (!bOk)
        return false;
    const QStringList lstPieces = strSchema.split(';');
    const std::vector<QString> vctStatements(lstPieces.begin(), lstPieces.end());

    const QString strDatabaseFile = layout.ProjectFile();
    bDatabaseOpened = true;
    if (!m_pDatabase->OpenDatabase("localhost", strDatabaseFile, "", ""))
        return false;
    if (!m_pDatabase->RunQueries(vctStatements, true))
        return false;

    auto pTraining = std::make_shared<CProjectTrainingRecord>();
    pTraining->SetName(strProjectName);
    pTraining->SetType("Yolo3");
    pTraining->SetVersion("0.0.1");
    pTraining->SetCreatedDateTime(QDateTime::currentDateTime());
    if (!m_pDatabase->InsertToTable(pTraining))
        return false;

    QString strConfiguration = ReadUtf8Resource(":/Files/yolov3.cfg", bOk);
    if (!bOk)
        return false;
    // The resource keeps the CRLF ends of its origin; the project stores plain line feeds.
    strConfiguration.replace("\r\n", "\n");

    auto pConfiguration = std::make_shared<CProjectPropertyRecord>();
    pConfiguration->SetName("PROJECT_CONFIGURATION");
    pConfiguration->SetValue(strConfiguration);
    pConfiguration->SetType("string");
    pConfiguration->SetProjectID(pTraining->GetID());
    if (!m_pDatabase->InsertToTable(pConfiguration))
        return false;
    if (lstClasses.isEmpty())
        return true;
    // Rows in the order typed: a class's index for the trainer is its position in the table.
    std::vector<std::shared_ptr<CDatabaseRecord>> vctClasses;
    for (const QString& strClass : lstClasses)
    {
        auto pClass = std::make_shared<CCategoryRecord>();
        pClass->SetName(strClass);
        vctClasses.push_back(pClass);
    }
    return m_pDatabase->InsertToTable(vctClasses, true);
}
