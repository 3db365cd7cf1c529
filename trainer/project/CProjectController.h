#pragma once

#include "frame/CController.h"
#include "project/run/CTrainingRun.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

class CDatabase;
class CDatabaseRecord;
class CDatasetImageEntry;
class CDatasetImageStore;
class CProjectEditors;
class CProjectLock;
class CProjectModel;
class CProjectRecordFactory;
class CProjectView;
class CRoiAnnotation;
class CRoiProposals;
class CDatasetReport;
class CModelCommands;

// The open project's life cycle: opening, closing and deleting it, the recently opened projects, its properties and
// its editors. Keeps the one database connection of the open project; the model holds what the views show.
class CProjectController : public CController
{
    Q_OBJECT
public:
    // Model and view are not owned; either may be null. The editors' dialogs get the view as their parent.
    CProjectController(CProjectModel* pModel, CProjectView* pView, QObject* parent = nullptr);
    ~CProjectController() override;

    bool Undo() override { return false; }
    bool Redo() override { return false; }

    // Opens <folder>/<name>.data. Any failure ends with the "Cannot load project %s" box and the removal of the
    // file from the recent projects; a project that was open before is closed by then. A project that another
    // window holds open (its lock file is held by a live process) is refused with a warning before anything changes.
    // A cluster job the project folder names (left running when the project closed) is followed again (see
    // CTrainingRun::Reattach).
    void OpenProject(const QString& strProjectDir, const QString& strProjectName);
    // Asks first while the trainer runs (see CRunCloseQuestion): a cluster job left running or cancelled is no longer
    // followed, and the project closes. Keeps the database connection for the next open; releases the project's lock
    // once the model has let the project go.
    bool CloseProject();

    // The recent projects (GENERAL_PROGRAME_HISTORIES): project file paths joined by ";", newest first, at most five,
    // without duplicates or empty entries.
    void AddProjectHistory(const QString& strProjectDir, const QString& strProjectName);
    void RemoveProjectHistory(const QString& strProjectDir, const QString& strProjectName);

    // VALUE of the open project's property, empty when it has none.
    QString GetProjectProperty(const QString& strName);

    bool ValidateImageByID(int nImageID);

    // Writes the trainer's files into the project folder after the validation pass (see CTrainingBuild); false
    // without an open project, when an image is invalid (nothing is written then) or when the build fails. First logs
    // the warning "Configuration has %d classes, the project has %d categories" when the configuration's classes
    // differ from the number of categories. A refusal is told in a warning box with every reason, its count and the
    // first images by name (see CBuildOutcome); a success emits signal_BuildCompleted.
    bool BuildProject();
    // Whether opening a project validates its images (on by default) to mark them in the tree. A build validates them
    // itself: one that follows the open at once (the build without window) need not pay for a second pass.
    void SetValidateOnOpen(bool bValidate) { m_bValidateOnOpen = bValidate; }
    // The open project's data set health (see CDatasetReport); false without an open project.
    bool MakeDatasetReport(CDatasetReport& report);
    // The number of categories of the open project; 0 without one.
    int CategoryCount();

    int GetProjectID() const { return m_nProjectID; }
    // The build and the trainer's run, for whoever shows the run's start, lines and states.
    CTrainingRun* Run() const { return m_pRun.get(); }

    // Builds, then starts the trainer (settings TAMSEL_COMMAND_EXE_YOLO3 and TAMSEL_COMMAND_ARG_YOLO3, then
    // "detector.txt", "config.txt" and the project's initial weights) in the project folder; each line it prints
    // becomes one log line. Nothing starts when the build fails. The run (Run()) tells of the start, the lines and the
    // states; while it lasts, every ".weights" file the Backup folder gains is logged as "Weights saved: %s".
    void StartCommand();
    // Asks the trainer to end, waits up to 30 s, then kills it.
    void StopCommand() { m_pRun->Stop(); }

    // Relabels a bound box on the view after asking for its class; from the box's "Update" entry.
    void ChangeROIClass(int nViewID, unsigned int nGeometryUID);
    // True when the view shows that image as a project image opened here; otherwise logs it.
    bool IsValidViewImage(int nViewID, unsigned int nImageUID);
    // True while the trainer is stopped; otherwise the "Project is still running" box.
    bool CheckCommandStopped();
    // -1 when no class has that name.
    int GetCategoryID(const QString& strName);
    // Empty when no class has that ID.
    QString GetCategoryName(int nID);
    // The project image opened last, -1 when none; the view it went to.
    int GetCurrentImageID() const;
    int GetCurrentViewID() const;
    // The project image view nViewID shows, -1 when none.
    int GetImageOfView(int nViewID) const;

    // Opens, in view nViewID, the image nStep places after (negative: before) the view's project image in the list it
    // belongs to, in the model's current order; with bWithoutBoxes the first image past it that has no rows. The tree
    // selects the opened image; the search for an image without boxes goes on from the training images into the test
    // images. Nothing happens (false) when the view shows no project image or the list ends there: moving does not
    // wrap around.
    bool OpenAdjacentImage(int nViewID, int nStep, bool bWithoutBoxes = false);
    // "Copy boxes from previous image": while the trainer is stopped, the boxes of the project image view nViewID
    // showed before become boxes with rows on its current one, as one undo step; the number of boxes copied.
    int CopyPreviousBoxes(int nViewID);

    // The proposals on project images (detections to accept or reject); for the commands that make them.
    CRoiProposals* Proposals() const { return m_pProposals.get(); }
    // "Detect", "Pre-label Images" and the model's weights and threshold; a run ends when the project closes.
    CModelCommands* ModelCommands() const { return m_pModelCommands.get(); }
    // The open project's connection, for the passes that read many rows at once (evaluation); not owned.
    CDatabase* Database() const { return m_pDatabase; }

    // The open project's class names in the order the chooser offers them.
    QStringList GetClassNames();

signals:
    // A build wrote every file; the numbers of training and test images it listed.
    void signal_BuildCompleted(int nTrainImages, int nTestImages);
    // Images, boxes, classes or proposals changed in bulk (an import or a pre-labelling ended): what shows the data
    // set should be made again.
    void signal_DatasetChanged();

public slots:
    void slot_CloseProject();
    // Deletes the open project after asking (and, while the trainer runs, after the close's question; never while a
    // cluster job is followed, which would go on writing into the folder): its file first,
    // then its own files, and its folder only when nothing else is in it. Then the project is closed. When the project
    // file cannot be removed, a critical box says so and the project stays open.
    void slot_DeleteProject();
    // Opens the project image (its path relative to the project folder) in the workspace with its boxes.
    void slot_OpenImage(int nImageID, const QString& strFilePath);
    // The workspace's object events: each keeps the dataset_roi rows of the view's project image in step.
    void slot_AddDrawableObjectWithViewID(int nViewID, unsigned int nImageUID, unsigned int nGeometryUID,
                                          QString strName);
    void slot_BeforeDeleteDrawableObjectWithViewID(int nViewID, unsigned int nImageUID, unsigned int nGeometryUID,
                                                   QString strName);
    void slot_ChangeDrawableObjectPropertyWithViewID(int nViewID, unsigned int nImageUID, unsigned int nGeometryUID);
    // The trainer's output channels: what has arrived is logged line by line.
    void slot_ReadLogFromCommand() { m_pRun->Job()->ReadStandardOutput(); }
    void slot_ReadErrFromCommand() { m_pRun->Job()->ReadStandardError(); }
    // The trainer's ECommandState (from the run), mirrored into the model.
    void slot_CommandStateChange(int nState);
    void slot_ShuffleTrainImage();
    void slot_SortTrainImage();
    // Ask for image files ("Add Images") and add them to the training or test list (see CDatasetImageStore).
    void slot_AddTrainImage();
    void slot_AddTestImage();
    // Remove the image from the list (see CDatasetImageStore) and close it in the workspace when it is the current one.
    void slot_RemoveTrainImage(int nImageID);
    void slot_RemoveTestImage(int nImageID);
    // "Import Dataset": asks for a data set folder (YOLO, Pascal VOC, or COCO JSON files: see CDatasetFormat) and
    // imports it (see CYoloDatasetImport) while the trainer is stopped.
    void slot_ImportDataset();
    // "Export Dataset": asks for the format, the images' treatment and the destination, and exports the training and
    // test images with their boxes (see CDatasetExportCommand).
    void slot_ExportDataset();
    void slot_EditClasses();
    void slot_EditParameters();
    void slot_EditConfiguration();
    void slot_ProjectProperty();
    // Stores the value as the VALUE of the property row, inserting the row when it is missing.
    void slot_UpdateProjectProperty(const QString& strName, const QVariant& value);
    // Validates every training image, then every test image; true when all are valid.
    bool slot_CheckValidateROI();

signals:
    // The open project's classes may have changed: a class edit or an import ended, or a project was opened.
    void signal_ClassesChanged();

private:
    // True when the stored path is "Images/<plain file name>"; logs "Cannot open image %d: %s is no file of the
    // Images folder" otherwise.
    static bool IsOpenablePath(int nImageID, const QString& strFilePath);
    bool LoadProject(const QString& strProjectDir, const QString& strProjectName);
    QString PromptTitle() const;
    void AddImages(const QString& strType);
    void RemoveImage(int nImageID, const QString& strType);

    CProjectView* m_pView = nullptr;
    // The window may delete the model first: a dead model is never touched.
    QPointer<CProjectModel> m_pModel;

    int m_nProjectID = -1;
    bool m_bValidateOnOpen = true;

    CDatabase* m_pDatabase = nullptr;
    CProjectRecordFactory* m_pRecordFactory = nullptr;
    // The view map, the current image and the rows of the boxes on project views.
    std::unique_ptr<CRoiAnnotation> m_pAnnotation;
    // Follows the annotation's views; goes before it.
    std::unique_ptr<CRoiProposals> m_pProposals;
    // The trainer and the watch on its weights; a running local trainer is ended (waiting at most a second) when the
    // controller goes, a cluster job runs on.
    std::unique_ptr<CTrainingRun> m_pRun;
    std::unique_ptr<CDatasetImageStore> m_pImageStore;
    // Held while a project is open, so that a second window cannot open it too.
    std::unique_ptr<CProjectLock> m_pLock;
    // The editors' dialogs, the property dialog and the class chooser.
    std::unique_ptr<CProjectEditors> m_pEditors;
    // Last, so that it goes first: a run it cancels then still finds the proposals.
    std::unique_ptr<CModelCommands> m_pModelCommands;
};
