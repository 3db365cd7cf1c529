#include "project/CProjectController.h"

#include "database/CDatabase.h"
#include "frame/CLogger.h"
#include "frame/CPrompt.h"
#include "frame/CSetting.h"
#include "project/CCategoryRecord.h"
#include "project/CDatasetImageEntry.h"
#include "project/CDatasetImageStore.h"
#include "project/CDatasetReport.h"
#include "project/CImageListStepper.h"
#include "project/CImageValidation.h"
#include "project/CNetworkConfiguration.h"
#include "project/CProjectFileReader.h"
#include "project/CProjectFolderRemover.h"
#include "project/CProjectHistory.h"
#include "project/CProjectModel.h"
#include "project/CProjectProperties.h"
#include "project/CProjectRecordFactory.h"
#include "project/CRoiAnnotation.h"
#include "project/CTrainerProcess.h"
#include "project/CTrainingBuild.h"
#include "project/CWeightsWatcher.h"
#include "project/CYoloDatasetImport.h"
#include "project/ECommandState.h"
#include "views/CClassChooserController.h"
#include "views/CClassChooserView.h"
#include "views/CClassEditorController.h"
#include "views/CClassEditorView.h"
#include "views/CConfigurationEditorView.h"
#include "views/CParameterEditorController.h"
#include "views/CParameterEditorView.h"
#include "views/CProjectPropertyModel.h"
#include "views/CProjectPropertyView.h"
#include "views/CProjectView.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStringList>


namespace
{

QByteArray Utf8(const QString& strText)
{
    return strText.toUtf8();
}
} // namespace

const QString CProjectController::QUICK_CLASS = QStringLiteral("TRAINER_QUICK_CLASS");
const QString CProjectController::QUICK_CLASS_NAME = QStringLiteral("TRAINER_QUICK_CLASS_NAME");

CProjectController::CProjectController(CProjectModel* pModel, CProjectView* pView, QObject* parent)
    : CController(parent), m_pView(pView), m_pModel(pModel)
{
    m_pRecordFactory = new CProjectRecordFactory();
    m_pDatabase = new CDatabase(m_pRecordFactory);
    m_pImageStore = std::make_unique<CDatasetImageStore>(m_pDatabase, m_pModel);

    m_pClassEditorView = new CClassEditorView(m_pView);
    m_pClassEditorController = new CClassEditorController(m_pClassEditorView, m_pDatabase);
    m_pClassChooserView = new CClassChooserView(m_pView);
    m_pClassChooserController = new CClassChooserController(m_pClassChooserView, m_pDatabase);
    m_pParameterEditorView = new CParameterEditorView(m_pView);
    m_pParameterEditorController = new CParameterEditorController(m_pParameterEditorView, m_pDatabase);
    m_pConfigurationEditorView = new CConfigurationEditorView(m_pView);

    CRoiAnnotation::SHost host;
    host.commandStopped = [this]() { return CheckCommandStopped(); };
    host.hasChooser = [this]() { return m_pClassChooserView && m_pClassChooserController; };
    host.chooseClass = [this](QString& strClass)
    {
        m_pClassChooserController->Load();
        if (CPrompt::ExecDialog(m_pClassChooserView) != 1)
            return false;
        strClass = m_pClassChooserView->GetSelectedName();
        if (m_pClassChooserView)
            m_pClassChooserView->SetLastChosen(strClass);
        return true;
    };
    host.quickClass = [this](QString& strClass)
    {
        if (CSetting::GetInt(QUICK_CLASS, 0) == 0)
            return false;
        strClass = CSetting::GetString(QUICK_CLASS_NAME, QString());
        return GetCategoryID(strClass) >= 0;
    };
    host.validateImage = [this](int nImageID) { ValidateImageByID(nImageID); };
    m_pAnnotation = std::make_unique<CRoiAnnotation>(m_pDatabase, host);

    m_pTrainer = std::make_unique<CTrainerProcess>();
    connect(m_pTrainer.get(), &CTrainerProcess::signal_CommandStateChanged, this,
            &CProjectController::slot_CommandStateChange);
    connect(m_pTrainer.get(), &CTrainerProcess::signal_OutputLine, this, &CProjectController::signal_TrainerOutputLine);
    m_pWeightsWatcher = new CWeightsWatcher(this);

    m_pPropertyModel = new CProjectPropertyModel();
    m_pPropertyView = new CProjectPropertyView(m_pPropertyModel, nullptr);

    if (m_pView)
        connect(m_pView, &CProjectView::signal_ProjectProperty, this, &CProjectController::slot_ProjectProperty);
    connect(m_pPropertyView, &CProjectPropertyView::signal_UpdateProjectProperty, this,
            &CProjectController::slot_UpdateProjectProperty);
    connect(m_pConfigurationEditorView, &CConfigurationEditorView::signal_UpdateProjectProperty, this,
            &CProjectController::slot_UpdateProjectProperty);
    if (m_pView)
    {
        connect(m_pView, &CProjectView::signal_CloseProject, this, &CProjectController::slot_CloseProject);
        connect(m_pView, &CProjectView::signal_DeleteProject, this, &CProjectController::slot_DeleteProject);
        connect(m_pView, &CProjectView::signal_OpenImageFile, this, &CProjectController::slot_OpenImage);
        connect(m_pView, &CProjectView::signal_ShuffleTrainImage, this, &CProjectController::slot_ShuffleTrainImage);
        connect(m_pView, &CProjectView::signal_SortTrainImage, this, &CProjectController::slot_SortTrainImage);
        connect(m_pView, &CProjectView::signal_EditClasses, this, &CProjectController::slot_EditClasses);
        connect(m_pView, &CProjectView::signal_EditParameters, this, &CProjectController::slot_EditParameters);
        connect(m_pView, &CProjectView::signal_EditConfiguration, this, &CProjectController::slot_EditConfiguration);
        connect(m_pView, &CProjectView::signal_AddTrainImage, this, &CProjectController::slot_AddTrainImage);
        connect(m_pView, &CProjectView::signal_AddTestImage, this, &CProjectController::slot_AddTestImage);
        connect(m_pView, &CProjectView::signal_RemoveTrainImage, this, &CProjectController::slot_RemoveTrainImage);
        connect(m_pView, &CProjectView::signal_RemoveTestImage, this, &CProjectController::slot_RemoveTestImage);
    }
    connect(m_pClassEditorView, &CClassEditorView::signal_CheckValidateROI, this,
            &CProjectController::slot_CheckValidateROI);
}

CProjectController::~CProjectController()
{
    m_pTrainer.reset();
    m_pAnnotation.reset();
    m_pDatabase->SetWriteAheadLog(false);
    delete m_pClassEditorController;
    delete m_pParameterEditorController;
    delete m_pClassChooserController;
    delete m_pDatabase;
    delete m_pRecordFactory;
    // The property dialog has no parent to take it along; it shows the property model, so it goes first.
    delete m_pPropertyView;
    delete m_pPropertyModel;
    // Without a project view the editors' dialogs have no parent either.
    if (!m_pView)
    {
        delete m_pClassEditorView;
        delete m_pClassChooserView;
        delete m_pParameterEditorView;
        delete m_pConfigurationEditorView;
    }
}

QString CProjectController::ProjectFilePath(const QString& strProjectDir, const QString& strProjectName)
{
    return strProjectDir + QDir::separator() + strProjectName + ".data";
}

QString CProjectController::PromptTitle() const
{
    return CSetting::GetString("GENERAL_PROGRAME_NAME", "OvrelTrainer");
}

void CProjectController::OpenProject(const QString& strProjectDir, const QString& strProjectName)
{
    const QByteArray baName = Utf8(strProjectName);
    // Reopening the project this window holds keeps its lock through the close that comes first.
    const QString strLockPath = CProjectFolderRemover::LockFilePath(strProjectDir, strProjectName);
    const bool bHeld = m_pLock && m_strLockPath == strLockPath;
    std::unique_ptr<QLockFile> pLock;
    if (bHeld)
        pLock = std::move(m_pLock);
    else if (!TryLock(strProjectDir, strProjectName, pLock))
    {
        const QString strText = QString::asprintf("Project %s is open in another window", baName.constData());
        CLogger::Write(ELogLevel_Warning, "%s", Utf8(strText).constData());
        CPrompt::Warning(m_pView, PromptTitle(), strText);
        return;
    }

    if (LoadProject(strProjectDir, strProjectName))
    {
        m_pLock = std::move(pLock);
        m_strLockPath = strLockPath;
        return;
    }
    // A refused close leaves that same project open: it keeps its lock.
    if (bHeld && m_pModel && m_pModel->GetProjectDir() == strProjectDir && m_pModel->GetProjectName() == strProjectName)
        m_pLock = std::move(pLock);
    pLock.reset();
    CLogger::Write(ELogLevel_Error, "Cannot load project %s", baName.constData());
    CPrompt::Critical(m_pView, PromptTitle(), QString::asprintf("Cannot load project %s", baName.constData()));
    RemoveProjectHistory(strProjectDir, strProjectName);
}

bool CProjectController::TryLock(const QString& strProjectDir, const QString& strProjectName,
                                 std::unique_ptr<QLockFile>& pLock)
{
    pLock = std::make_unique<QLockFile>(CProjectFolderRemover::LockFilePath(strProjectDir, strProjectName));
    // Never stale by age: a window may keep a project open for days. A lock left by a dead process is taken over.
    pLock->setStaleLockTime(0);
    if (pLock->tryLock(0))
        return true;
    const bool bHeldElsewhere = pLock->error() == QLockFile::LockFailedError;
    // A folder that cannot hold a lock file (read-only, or missing) opens unlocked or fails on its own terms.
    pLock.reset();
    return !bHeldElsewhere;
}

bool CProjectController::LoadProject(const QString& strProjectDir, const QString& strProjectName)
{
    if (!CloseProject())
        return false;

    CProjectFileReader::SContent content;
    if (!CProjectFileReader::Open(m_pDatabase, ProjectFilePath(strProjectDir, strProjectName), content))
        return false;

    if (m_pModel)
    {
        m_pModel->SetProject(strProjectDir, strProjectName);
        m_pModel->SetProjectID(content.nProjectID);
    }
    m_nProjectID = content.nProjectID;

    if (m_pModel)
    {
        m_pModel->ClearTrainImages();
        for (const std::shared_ptr<CDatabaseRecord>& pRecord : content.vctTrainImages)
            m_pModel->AddTrainImage(pRecord);
        m_pModel->ClearTestImages();
        for (const std::shared_ptr<CDatabaseRecord>& pRecord : content.vctTestImages)
            m_pModel->AddTestImage(pRecord);
    }

    if (m_pPropertyModel)
    {
        m_pPropertyModel->SetProperty("PROJECT_INITIALIZED_MODEL",
                                      QVariant(GetProjectProperty("PROJECT_INITIALIZED_MODEL")));
        m_pPropertyModel->SetProperty("PROJECT_INITIALIZED_CONF",
                                      QVariant(GetProjectProperty("PROJECT_INITIALIZED_CONF")));
    }

    AddProjectHistory(strProjectDir, strProjectName);
    slot_CheckValidateROI();
    emit signal_ClassesChanged();
    return true;
}

bool CProjectController::CloseProject()
{
    if (m_pModel && m_pModel->GetCommandState() != ECommandState_Stopped)
    {
        const QMessageBox::StandardButton answer =
            CPrompt::Question(m_pView, PromptTitle(), "Program is running, do you want to close it?",
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return false;
    }
    if (!m_pDatabase)
        return false;

    m_nProjectID = -1;
    m_pAnnotation->Reset();
    if (m_pModel)
        m_pModel->Close();
    // The model keeps a running project; so does its lock.
    if (!m_pModel || m_pModel->GetProjectDir().isEmpty())
    {
        // Closed, the file goes back to the plain journal, complete on its own.
        m_pDatabase->SetWriteAheadLog(false);
        m_pLock.reset();
    }
    return true;
}

void CProjectController::slot_CloseProject()
{
    if (!m_pModel || !CloseProject())
        CLogger::Write(ELogLevel_Error, "Failed to close current Project");
}

void CProjectController::slot_DeleteProject()
{
    if (!m_pModel)
        return;
    const QString strProjectDir = m_pModel->GetProjectDir();
    const QString strProjectName = m_pModel->GetProjectName();
    const QByteArray baName = Utf8(strProjectName);
    const QMessageBox::StandardButton answer = CPrompt::Question(
        m_pView, PromptTitle(), QString::asprintf("Do you want to delete project %s?", baName.constData()),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes || strProjectDir.isEmpty() || strProjectName.isEmpty() || !m_pDatabase)
        return;
    // The trainer works in the project folder: nothing goes while it runs.
    if (m_pModel->GetCommandState() != ECommandState_Stopped &&
        (!CloseProject() || !m_pModel || m_pModel->GetCommandState() != ECommandState_Stopped))
    {
        CLogger::Write(ELogLevel_Error, "Failed to close current Project");
        return;
    }
    if (!RemoveProjectFiles(strProjectDir, strProjectName))
    {
        CLogger::Write(ELogLevel_Error, "Cannot delete project %s", baName.constData());
        CPrompt::Critical(m_pView, PromptTitle(), QString::asprintf("Cannot delete project %s", baName.constData()));
        return;
    }
    RemoveProjectHistory(strProjectDir, strProjectName);
    CloseProject();
    if (m_pView)
        m_pView->ClearTree();
}

bool CProjectController::RemoveProjectFiles(const QString& strProjectDir, const QString& strProjectName)
{
    const QString strFilePath = ProjectFilePath(strProjectDir, strProjectName);
    if (!QFileInfo(strFilePath).isFile())
        return false;
    QStringList lstImageNames;
    for (const CProjectModel::EntryList& vctList : {m_pModel->GetTrainImages(), m_pModel->GetTestImages()})
    {
        for (const std::shared_ptr<CDatasetImageEntry>& pEntry : vctList)
            lstImageNames.append(pEntry->GetName());
    }

    m_pDatabase->Close();
    CProjectFolderRemover remover(strProjectDir, strProjectName, lstImageNames);
    if (!remover.RemoveProjectFile())
    {
        // Nothing was removed: the project goes on as it was, still locked.
        m_pDatabase->OpenDatabase("localhost", strFilePath, "", "");
        return false;
    }
    m_pLock.reset();
    remover.RemoveRest();
    const QByteArray baDir = Utf8(strProjectDir);
    for (const QString& strPath : remover.Failed())
        CLogger::Write(ELogLevel_Error, "Failed to remove file %s", Utf8(strPath).constData());
    QStringList lstKept = remover.Kept();
    lstKept.sort();
    if (!lstKept.isEmpty())
        CLogger::Write(ELogLevel_Warning, "Kept in folder %s: %s", baDir.constData(),
                       Utf8(lstKept.join(", ")).constData());
    CLogger::Write(ELogLevel_Normal, "Delete project %s OK", Utf8(strProjectName).constData());
    return true;
}

void CProjectController::slot_ShuffleTrainImage()
{
    if (m_pModel)
        m_pModel->ShuffleTrainImages();
}

void CProjectController::slot_SortTrainImage()
{
    if (m_pModel)
        m_pModel->SortTrainImages();
}

void CProjectController::slot_AddTrainImage()
{
    AddImages(QStringLiteral("train"));
}

void CProjectController::slot_AddTestImage()
{
    AddImages(QStringLiteral("test"));
}

void CProjectController::AddImages(const QString& strType)
{
    if (!m_pModel)
        return;
    const QStringList lstPaths = CPrompt::GetOpenFileNames(
        m_pView, "Add Images", QString(),
        "Files (*.bmp *.BMP *.jpg *.JPG *.jpeg *.JPEG *.png *.PNG *.gif *.GIF *.tif *.TIF *.tiff *.TIFF)");
    if (m_pModel && m_pDatabase && m_nProjectID >= 0)
        m_pImageStore->AddImages(lstPaths, strType, m_pView);
}

void CProjectController::slot_ImportDataset()
{
    if (!m_pModel || !m_pDatabase || m_nProjectID < 0 || !CheckCommandStopped())
        return;
    const QString strFolder = CPrompt::GetExistingDirectory(m_pView, "Import Dataset");
    if (!strFolder.isEmpty() && m_pModel)
    {
        CYoloDatasetImport(m_pDatabase, m_pModel).ImportFolder(strFolder, m_pView);
        emit signal_ClassesChanged();
    }
}

void CProjectController::slot_RemoveTrainImage(int nImageID)
{
    RemoveImage(nImageID, QStringLiteral("train"));
}

void CProjectController::slot_RemoveTestImage(int nImageID)
{
    RemoveImage(nImageID, QStringLiteral("test"));
}

void CProjectController::RemoveImage(int nImageID, const QString& strType)
{
    // Every view that still shows the image closes it: its boxes have no rows any more.
    if (m_pImageStore->RemoveImage(nImageID, strType))
        m_pAnnotation->CloseImage(nImageID);
}

void CProjectController::AddProjectHistory(const QString& strProjectDir, const QString& strProjectName)
{
    CProjectHistory::Add(ProjectFilePath(strProjectDir, strProjectName));
}

void CProjectController::RemoveProjectHistory(const QString& strProjectDir, const QString& strProjectName)
{
    CProjectHistory::Remove(ProjectFilePath(strProjectDir, strProjectName));
}

QString CProjectController::GetProjectProperty(const QString& strName)
{
    return CProjectProperties(m_pDatabase, m_nProjectID).Get(strName);
}

void CProjectController::slot_UpdateProjectProperty(const QString& strName, const QVariant& value)
{
    CProjectProperties(m_pDatabase, m_nProjectID).Set(strName, value);
}

void CProjectController::slot_ProjectProperty()
{
    if (m_pPropertyView)
        CPrompt::ExecDialog(m_pPropertyView);
}

void CProjectController::slot_EditConfiguration()
{
    if (!m_pConfigurationEditorView)
        return;
    m_pConfigurationEditorView->SetClassCount(CategoryCount());
    m_pConfigurationEditorView->SetText(GetProjectProperty("PROJECT_CONFIGURATION"));
    CPrompt::ExecDialog(m_pConfigurationEditorView);
}

void CProjectController::slot_EditClasses()
{
    if (!m_pClassEditorView || !m_pClassEditorController)
        return;
    m_pClassEditorController->Load();
    CPrompt::ExecDialog(m_pClassEditorView);
    emit signal_ClassesChanged();
}

QStringList CProjectController::GetClassNames()
{
    QStringList lstNames;
    std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords;
    if (m_nProjectID >= 0 && m_pDatabase->SelectFromTable(CCategoryRecord::TABLE_NAME, vctRecords, {}))
    {
        for (const auto& pRecord : vctRecords)
        {
            if (const auto pCategory = std::dynamic_pointer_cast<CCategoryRecord>(pRecord))
                lstNames.append(pCategory->GetName());
        }
    }
    return lstNames;
}

void CProjectController::slot_EditParameters()
{
    if (!m_pParameterEditorView || !m_pParameterEditorController)
        return;
    m_pParameterEditorController->Load();
    CPrompt::ExecDialog(m_pParameterEditorView);
}

bool CProjectController::ValidateImage(std::shared_ptr<CDatasetImageEntry> pEntry,
                                       const std::vector<std::shared_ptr<CDatabaseRecord>>& vctCategories)
{
    return CImageValidation(m_pDatabase).ValidateImage(pEntry, vctCategories);
}

bool CProjectController::ValidateImageByID(int nImageID)
{
    if (!m_pDatabase || !m_pModel)
        return false;
    std::vector<std::shared_ptr<CDatabaseRecord>> vctCategories;
    m_pDatabase->SelectFromTable(CCategoryRecord::TABLE_NAME, vctCategories, {});
    std::shared_ptr<CDatasetImageEntry> pEntry = m_pModel->FindTrainImage(nImageID);
    if (!pEntry)
        pEntry = m_pModel->FindTestImage(nImageID);
    if (!pEntry)
        return false;
    return ValidateImage(pEntry, vctCategories);
}

bool CProjectController::slot_CheckValidateROI()
{
    if (!m_pModel || !m_pDatabase)
        return false;
    const bool bAllValid =
        CImageValidation(m_pDatabase).ValidateAll(m_pModel->GetTrainImages(), m_pModel->GetTestImages());
    if (bAllValid)
        CLogger::Write(ELogLevel_Normal, "Validate ROI OK");
    else
        CLogger::Write(ELogLevel_Error, "Validate ROI Error");
    return bAllValid;
}

void CProjectController::slot_OpenImage(int nImageID, const QString& strFilePath)
{
    if (!m_pModel)
        return;
    CLogger::Write(ELogLevel_Debug, "Open Image %d : %s", nImageID, Utf8(strFilePath).constData());
    m_pAnnotation->OpenImage(nImageID, m_pModel->GetProjectDir() + QDir::separator() + strFilePath);
}

bool CProjectController::OpenAdjacentImage(int nViewID, int nStep, bool bWithoutBoxes)
{
    const int nImageID = m_pAnnotation->ImageOfView(nViewID);
    if (!m_pModel || nImageID < 0)
        return false;
    const std::shared_ptr<CDatasetImageEntry> pTarget =
        CImageListStepper::Step(*m_pModel, m_pDatabase, nImageID, nStep, bWithoutBoxes);
    if (!pTarget)
        return false;
    CLogger::Write(ELogLevel_Debug, "Open Image %d : %s", pTarget->GetImageID(),
                   Utf8(pTarget->GetFullPath()).constData());
    m_pAnnotation->OpenImageInView(pTarget->GetImageID(),
                                   m_pModel->GetProjectDir() + QDir::separator() + pTarget->GetFullPath(), nViewID);
    if (m_pView)
        m_pView->SelectImage(pTarget->GetImageID());
    return true;
}

int CProjectController::CopyPreviousBoxes(int nViewID)
{
    if (m_pAnnotation->ImageOfView(nViewID) < 0 || m_pAnnotation->PreviousImageOfView(nViewID) < 0)
        return 0;
    if (!CheckCommandStopped())
        return 0;
    return m_pAnnotation->CopyPreviousBoxes(nViewID);
}

void CProjectController::slot_AddDrawableObjectWithViewID(int nViewID, unsigned int nImageUID,
                                                          unsigned int nGeometryUID, QString strName)
{
    m_pAnnotation->ObjectAdded(nViewID, nImageUID, nGeometryUID, strName);
}

void CProjectController::slot_BeforeDeleteDrawableObjectWithViewID(int nViewID, unsigned int nImageUID,
                                                                   unsigned int nGeometryUID, QString)
{
    m_pAnnotation->ObjectAboutToBeDeleted(nViewID, nImageUID, nGeometryUID);
}

void CProjectController::slot_ChangeDrawableObjectPropertyWithViewID(int nViewID, unsigned int nImageUID,
                                                                     unsigned int nGeometryUID)
{
    m_pAnnotation->ObjectChanged(nViewID, nImageUID, nGeometryUID);
}

void CProjectController::ChangeROIClass(int nViewID, unsigned int nGeometryUID)
{
    m_pAnnotation->ChangeClass(nViewID, nGeometryUID);
}

bool CProjectController::IsValidViewImage(int nViewID, unsigned int nImageUID)
{
    return m_pAnnotation->IsValidViewImage(nViewID, nImageUID);
}

bool CProjectController::CheckCommandStopped()
{
    if (m_pModel && m_pModel->GetCommandState() == ECommandState_Stopped)
        return true;
    CPrompt::Critical(m_pView, PromptTitle(), "Project is still running");
    return false;
}

int CProjectController::GetCategoryID(const QString& strName)
{
    return m_pAnnotation->GetCategoryID(strName);
}

QString CProjectController::GetCategoryName(int nID)
{
    return m_pAnnotation->GetCategoryName(nID);
}

int CProjectController::GetCurrentImageID() const
{
    return m_pAnnotation->GetCurrentImageID();
}

int CProjectController::GetCurrentViewID() const
{
    return m_pAnnotation->GetCurrentViewID();
}

bool CProjectController::BuildProject()
{
    if (!m_pModel || !m_pDatabase || m_pModel->GetProjectDir().isEmpty())
        return false;
    const QString strConfiguration = GetProjectProperty("PROJECT_CONFIGURATION");
    const int nConfiguredClasses = CNetworkConfiguration::Classes(strConfiguration);
    const int nCategories = CategoryCount();
    // A network sized for other classes trains without complaint and learns nothing useful.
    if (nConfiguredClasses >= 0 && nConfiguredClasses != nCategories)
        CLogger::Write(ELogLevel_Warning, "Configuration has %d classes, the project has %d categories",
                       nConfiguredClasses, nCategories);
    if (!slot_CheckValidateROI())
        return false;
    return CTrainingBuild(m_pDatabase, m_pModel->GetProjectDir())
        .Build(m_pModel->GetTrainImages(), m_pModel->GetTestImages(), strConfiguration);
}

int CProjectController::CategoryCount()
{
    std::vector<QVariant> vctIDs;
    if (!m_pModel || m_pModel->GetProjectDir().isEmpty() ||
        !m_pDatabase->SelectColumn(CCategoryRecord::TABLE_NAME, "ID", {}, vctIDs))
        return 0;
    return static_cast<int>(vctIDs.size());
}

bool CProjectController::MakeDatasetReport(CDatasetReport& report)
{
    if (!m_pModel || m_pModel->GetProjectDir().isEmpty())
        return false;
    return report.Make(m_pDatabase, m_pModel->GetProjectDir());
}

void CProjectController::StartCommand()
{
    if (!BuildProject() || !m_pModel || !m_pDatabase || !m_pTrainer)
        return;
    if (!m_pTrainer->Start(CSetting::GetString("TAMSEL_COMMAND_EXE_YOLO3", "no_command"),
                           CSetting::GetString("TAMSEL_COMMAND_ARG_YOLO3", ""),
                           GetProjectProperty("PROJECT_INITIALIZED_MODEL"), m_pModel->GetProjectDir()))
        return;
    m_pWeightsWatcher->Start(m_pModel->GetProjectDir());
    emit signal_TrainingStarted(CNetworkConfiguration::MaxBatches(GetProjectProperty("PROJECT_CONFIGURATION")));
}

void CProjectController::StopCommand()
{
    if (m_pTrainer)
        m_pTrainer->Stop();
}

void CProjectController::slot_ReadLogFromCommand()
{
    if (m_pTrainer)
        m_pTrainer->ReadStandardOutput();
}

void CProjectController::slot_ReadErrFromCommand()
{
    if (m_pTrainer)
        m_pTrainer->ReadStandardError();
}

void CProjectController::slot_CommandStateChange(int nState)
{
    // The trainer writes its last weights just before it ends.
    if (nState == ECommandState_Stopped)
        m_pWeightsWatcher->Stop();
    if (m_pModel)
        m_pModel->SetCommandState(nState);
}
