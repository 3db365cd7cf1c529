#include "project/CProjectController.h"

#include "database/CDatabase.h"
#include "frame/CFolderMemory.h"
#include "frame/CLogger.h"
#include "frame/CPrompt.h"
#include "frame/CSetting.h"
#include "project/CProjectEditors.h"
#include "project/CProjectModel.h"
#include "project/CRoiAnnotationHost.h"
#include "project/CRunCloseQuestion.h"
#include "project/CRunStateCheck.h"
#include "project/ECommandState.h"
#include "project/annotation/CRoiAnnotation.h"
#include "project/build/CBuildOutcome.h"
#include "project/build/CTrainingBuild.h"
#include "project/classes/CProjectCategories.h"
#include "project/detection/CModelCommands.h"
#include "project/export/CDatasetExportCommand.h"
#include "project/images/CDatasetImageStore.h"
#include "project/images/CImageListStepper.h"
#include "project/images/CImageValidation.h"
#include "project/import/CYoloDatasetImport.h"
#include "project/lifecycle/CProjectDeletion.h"
#include "project/lifecycle/CProjectFileReader.h"
#include "project/lifecycle/CProjectHistory.h"
#include "project/lifecycle/CProjectLock.h"
#include "project/proposals/CRoiProposals.h"
#include "project/report/CDatasetReport.h"
#include "project/run/CTrainingRun.h"
#include "project/settings/CProjectProperties.h"
#include "project/store/CDatasetImageEntry.h"
#include "project/store/CProjectLayout.h"
#include "project/store/CProjectRecordFactory.h"
#include "project/store/CSafeName.h"
#include "views/CClassEditorView.h"
#include "views/CConfigurationEditorView.h"
#include "views/CProjectPropertyView.h"
#include "views/CProjectView.h"

#include <QDir>
#include <QStringList>

CProjectController::CProjectController(CProjectModel* pModel, CProjectView* pView, QObject* parent)
    : CController(parent), m_pView(pView), m_pModel(pModel)
{
    m_pRecordFactory = new CProjectRecordFactory();
    m_pDatabase = new CDatabase(m_pRecordFactory);
    m_pImageStore = std::make_unique<CDatasetImageStore>(m_pDatabase, m_pModel);
    m_pLock = std::make_unique<CProjectLock>();
    m_pEditors = std::make_unique<CProjectEditors>(m_pDatabase, m_pView);

    m_pAnnotation = std::make_unique<CRoiAnnotation>(
        m_pDatabase, CRoiAnnotationHost::Make(m_pModel, m_pDatabase, m_pEditors.get(), m_pView));
    // Boxes show their classes' colours, which follow the class table.
    m_pProposals = std::make_unique<CRoiProposals>(m_pDatabase, *m_pAnnotation);
    // Proposals of a deleted class went with it, also when it had no box.
    connect(this, &CProjectController::signal_ClassesChanged, this,
            [this]()
            {
                m_pAnnotation->FollowClasses();
                m_pProposals->FollowClasses();
            });

    m_pModelCommands = std::make_unique<CModelCommands>(
        m_pDatabase, m_pModel, m_pProposals.get(), [this] { return BuildProject(); }, m_pView);
    // A dataset report left open counts the images with pending proposals again.
    connect(m_pModelCommands.get(), &CModelCommands::signal_ProposalsStored, this,
            &CProjectController::signal_DatasetChanged);
    m_pRun = std::make_unique<CTrainingRun>(m_pDatabase);
    connect(m_pRun.get(), &CTrainingRun::signal_CommandStateChanged, this,
            &CProjectController::slot_CommandStateChange);

    if (m_pView)
        connect(m_pView, &CProjectView::signal_ProjectProperty, this, &CProjectController::slot_ProjectProperty);
    connect(m_pEditors->PropertyView(), &CProjectPropertyView::signal_UpdateProjectProperty, this,
            &CProjectController::slot_UpdateProjectProperty);
    connect(m_pEditors->ConfigurationEditor(), &CConfigurationEditorView::signal_UpdateProjectProperty, this,
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
    connect(m_pEditors->ClassEditor(), &CClassEditorView::signal_CheckValidateROI, this,
            &CProjectController::slot_CheckValidateROI);
    connect(m_pEditors->ClassEditor(), &CClassEditorView::signal_ClassBoxesChanged, this,
            [this]()
            {
                m_pAnnotation->FollowRows();
                m_pProposals->FollowClasses();
            });
}

CProjectController::~CProjectController()
{
    m_pRun.reset();
    m_pProposals.reset();
    m_pAnnotation.reset();
    m_pDatabase->SetWriteAheadLog(false);
    // The editors work on the database: they go first.
    m_pEditors.reset();
    delete m_pDatabase;
    delete m_pRecordFactory;
}

QString CProjectController::PromptTitle() const
{
    return CSetting::GetString("GENERAL_PROGRAME_NAME", "OvrelTrainer");
}

void CProjectController::OpenProject(const QString& strProjectDir, const QString& strProjectName)
{
    const QByteArray baName = strProjectName.toUtf8();
    if (!m_pLock->Acquire(strProjectDir, strProjectName))
    {
        const QString strText = QString::asprintf("Project %s is open in another window", baName.constData());
        CLogger::Write(ELogLevel_Warning, "%s", strText.toUtf8().constData());
        CPrompt::Warning(m_pView, PromptTitle(), strText);
        return;
    }

    if (LoadProject(strProjectDir, strProjectName))
    {
        m_pLock->Keep();
        // A cluster job left running when the project closed: follow it again.
        m_pRun->Reattach(strProjectDir, GetProjectProperty("PROJECT_CONFIGURATION"));
        return;
    }
    m_pLock->Drop(m_pModel && m_pModel->GetProjectDir() == strProjectDir &&
                  m_pModel->GetProjectName() == strProjectName);
    CLogger::Write(ELogLevel_Error, "Cannot load project %s", baName.constData());
    CPrompt::Critical(m_pView, PromptTitle(), QString::asprintf("Cannot load project %s", baName.constData()));
    RemoveProjectHistory(strProjectDir, strProjectName);
}

bool CProjectController::LoadProject(const QString& strProjectDir, const QString& strProjectName)
{
    if (!CloseProject())
        return false;

    CProjectFileReader::SContent content;
    if (!CProjectFileReader::Open(m_pDatabase, CProjectLayout(strProjectDir, strProjectName).ProjectFile(), content))
        return false;
    // A build killed while putting its files in place left some old and some new: the project shows whole files.
    CTrainingBuild::RecoverInterrupted(strProjectDir);

    if (m_pModel)
    {
        m_pModel->SetProject(strProjectDir, strProjectName);
        m_pModel->SetProjectID(content.nProjectID);
    }
    m_nProjectID = content.nProjectID;

    if (m_pModel)
    {
        m_pModel->ClearTrainImages();
        m_pModel->AddTrainImages(std::move(content.vctTrainImages));
        m_pModel->ClearTestImages();
        m_pModel->AddTestImages(std::move(content.vctTestImages));
    }

    m_pEditors->LoadProperties(CProjectProperties(m_pDatabase, m_nProjectID));

    AddProjectHistory(strProjectDir, strProjectName);
    if (m_bValidateOnOpen)
        slot_CheckValidateROI();
    emit signal_ClassesChanged();
    return true;
}

bool CProjectController::CloseProject()
{
    // A cluster job let go of here leaves the model stopped, so that the project closes for real.
    if (m_pModel && !CRunCloseQuestion::MayClose(m_pRun.get(), m_pModel->GetCommandState(), m_pView, PromptTitle()))
        return false;
    if (!m_pDatabase)
        return false;

    m_nProjectID = -1;
    m_pAnnotation->Reset();
    m_pProposals->Reset();
    if (m_pModel)
        m_pModel->Close();
    // The model keeps a running project; so does its lock.
    if (!m_pModel || m_pModel->GetProjectDir().isEmpty())
    {
        // Closed, the file goes back to the plain journal, complete on its own.
        m_pDatabase->SetWriteAheadLog(false);
        m_pLock->Release();
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
    CProjectDeletion deletion(m_pDatabase, m_pLock.get(), m_pView, PromptTitle());
    if (!deletion.Confirm(strProjectName) || strProjectDir.isEmpty() || strProjectName.isEmpty() || !m_pDatabase)
        return;
    if (!CRunCloseQuestion::MayDelete(m_pRun.get(), m_pView, PromptTitle()))
        return;
    // The trainer works in the project folder: nothing goes while it runs.
    if (m_pModel->GetCommandState() != ECommandState_Stopped &&
        (!CloseProject() || !m_pModel || m_pModel->GetCommandState() != ECommandState_Stopped))
    {
        CLogger::Write(ELogLevel_Error, "Failed to close current Project");
        return;
    }
    if (!deletion.RemoveFiles(strProjectDir, strProjectName, *m_pModel))
        return;
    RemoveProjectHistory(strProjectDir, strProjectName);
    CloseProject();
    if (m_pView)
        m_pView->ClearTree();
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
        m_pView, "Add Images", CFolderMemory::Folder(CFolderMemory::IMAGES),
        "Files (*.bmp *.BMP *.jpg *.JPG *.jpeg *.JPEG *.png *.PNG *.gif *.GIF *.tif *.TIF *.tiff *.TIFF)");
    CFolderMemory::Remember(CFolderMemory::IMAGES, lstPaths.value(0));
    if (m_pModel && m_pDatabase && m_nProjectID >= 0)
        m_pImageStore->AddImages(lstPaths, strType, m_pView);
}

void CProjectController::slot_ImportDataset()
{
    if (!m_pModel || !m_pDatabase || m_nProjectID < 0 || !CheckCommandStopped())
        return;
    const QString strFolder =
        CPrompt::GetExistingDirectory(m_pView, "Import Dataset", CFolderMemory::Folder(CFolderMemory::IMPORT));
    CFolderMemory::Remember(CFolderMemory::IMPORT, strFolder);
    if (!strFolder.isEmpty() && m_pModel)
    {
        CYoloDatasetImport(m_pDatabase, m_pModel).ImportFolder(strFolder, m_pView);
        emit signal_ClassesChanged();
        // New images, boxes and classes: the tree's marks and an open report would show the project as it was.
        slot_CheckValidateROI();
        emit signal_DatasetChanged();
    }
}

void CProjectController::slot_ExportDataset()
{
    if (m_pModel && m_pDatabase && m_nProjectID >= 0)
        CDatasetExportCommand(m_pDatabase, m_pModel).Run(m_pView);
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
    if (!m_pImageStore->RemoveImage(nImageID, strType))
        return;
    m_pAnnotation->CloseImage(nImageID);
    m_pProposals->ForgetImage(nImageID);
    m_pProposals->FollowViews();
}

void CProjectController::AddProjectHistory(const QString& strProjectDir, const QString& strProjectName)
{
    CProjectHistory::Add(CProjectLayout(strProjectDir, strProjectName).ProjectFile());
}

void CProjectController::RemoveProjectHistory(const QString& strProjectDir, const QString& strProjectName)
{
    CProjectHistory::Remove(CProjectLayout(strProjectDir, strProjectName).ProjectFile());
}

QString CProjectController::GetProjectProperty(const QString& strName)
{
    return CProjectProperties(m_pDatabase, m_nProjectID).Get(strName);
}

void CProjectController::slot_UpdateProjectProperty(const QString& strName, const QVariant& value)
{
    CProjectProperties(m_pDatabase, m_nProjectID).Set(strName, value);
    // Which images are valid follows the option: the tree's marks and an open report would show the old verdicts.
    if (strName == CProjectProperties::ALLOW_NO_BOXES && m_pModel && m_nProjectID >= 0)
    {
        slot_CheckValidateROI();
        emit signal_DatasetChanged();
    }
}

void CProjectController::slot_ProjectProperty()
{
    m_pEditors->ShowProperties();
}

void CProjectController::slot_EditConfiguration()
{
    // The class count and the text are read only for an editor that can show them.
    if (!m_pEditors->ConfigurationEditor())
        return;
    const int nClasses = CategoryCount();
    m_pEditors->EditConfiguration(nClasses, GetProjectProperty("PROJECT_CONFIGURATION"));
}

void CProjectController::slot_EditClasses()
{
    if (m_pEditors->EditClasses())
        emit signal_ClassesChanged();
}

QStringList CProjectController::GetClassNames()
{
    return m_nProjectID >= 0 ? CProjectCategories(m_pDatabase).Names() : QStringList();
}

void CProjectController::slot_EditParameters()
{
    m_pEditors->EditParameters();
}

bool CProjectController::ValidateImageByID(int nImageID)
{
    return m_pDatabase && m_pModel && CImageValidation(m_pDatabase).ValidateImageOf(*m_pModel, nImageID);
}

bool CProjectController::slot_CheckValidateROI()
{
    return m_pModel && m_pDatabase && CImageValidation(m_pDatabase).ValidateProject(*m_pModel);
}

bool CProjectController::IsOpenablePath(int nImageID, const QString& strFilePath)
{
    // A stored path from a project file may lead out of the project folder: only "Images/<file name>" is opened.
    if (CSafeName::IsImagePath(strFilePath.mid(CProjectLayout::IMAGES_FOLDER.size() + 1), strFilePath))
        return true;
    CLogger::Write(ELogLevel_Error, "Cannot open image %d: %s is no file of the Images folder", nImageID,
                   CSafeName::Shown(strFilePath).toUtf8().constData());
    return false;
}

void CProjectController::slot_OpenImage(int nImageID, const QString& strFilePath)
{
    if (!m_pModel)
        return;
    CLogger::Write(ELogLevel_Debug, "Open Image %d : %s", nImageID, strFilePath.toUtf8().constData());
    if (!IsOpenablePath(nImageID, strFilePath))
        return;
    m_pAnnotation->OpenImage(nImageID, m_pModel->GetProjectDir() + QDir::separator() + strFilePath);
    m_pProposals->FollowViews();
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
                   pTarget->GetFullPath().toUtf8().constData());
    if (!IsOpenablePath(pTarget->GetImageID(), pTarget->GetFullPath()))
        return false;
    m_pAnnotation->OpenImageInView(pTarget->GetImageID(),
                                   m_pModel->GetProjectDir() + QDir::separator() + pTarget->GetFullPath(), nViewID);
    m_pProposals->FollowViews();
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
    return CRunStateCheck::Stopped(m_pModel, m_pView);
}

int CProjectController::GetCategoryID(const QString& strName)
{
    return m_pAnnotation->Rows().GetCategoryID(strName);
}

QString CProjectController::GetCategoryName(int nID)
{
    return m_pAnnotation->Rows().GetCategoryName(nID);
}

int CProjectController::GetCurrentImageID() const
{
    return m_pAnnotation->GetCurrentImageID();
}

int CProjectController::GetCurrentViewID() const
{
    return m_pAnnotation->GetCurrentViewID();
}

int CProjectController::GetImageOfView(int nViewID) const
{
    return m_pAnnotation->ImageOfView(nViewID);
}

bool CProjectController::BuildProject()
{
    if (!m_pModel || !m_pDatabase || m_pModel->GetProjectDir().isEmpty())
        return false;
    CBuildOutcome outcome;
    const bool bBuilt = m_pRun->Build(*m_pModel, GetProjectProperty("PROJECT_CONFIGURATION"), &outcome);
    if (bBuilt)
        emit signal_BuildCompleted(int(m_pModel->GetTrainImages().size()), int(m_pModel->GetTestImages().size()));
    else
        outcome.Tell(m_pView, PromptTitle());
    return bBuilt;
}

int CProjectController::CategoryCount()
{
    if (!m_pModel || m_pModel->GetProjectDir().isEmpty())
        return 0;
    return CProjectCategories(m_pDatabase).Count();
}

bool CProjectController::MakeDatasetReport(CDatasetReport& report)
{
    if (!m_pModel || m_pModel->GetProjectDir().isEmpty())
        return false;
    return report.Make(m_pDatabase, m_pModel->GetProjectDir());
}

void CProjectController::StartCommand()
{
    if (BuildProject() && m_pModel)
        m_pRun->Start(GetProjectProperty("PROJECT_INITIALIZED_MODEL"), m_pModel->GetProjectDir(),
                      GetProjectProperty("PROJECT_CONFIGURATION"));
}

void CProjectController::slot_CommandStateChange(int nState)
{
    if (m_pModel)
        m_pModel->SetCommandState(nState);
}
