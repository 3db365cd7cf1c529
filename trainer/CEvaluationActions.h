#pragma once

#include "project/inference/CDetection.h"

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QString>

class CEvaluationRun;
class CEvaluationView;
class CMainWindowActions;
class CProjectController;
class CProjectModel;
class QAction;
class QWidget;

// The main window's "Evaluate" and "Check Training Labels" in the "Run" menu before "Setting", enabled while a project
// is open. Evaluate measures the weights "Choose Weights..." chose (else the newest of Backup) on the test list, at the
// project's detection threshold; Check Training Labels runs the
// suspect-label rules over the training list. Both show a progress dialog whose Cancel ends the run with nothing
// saved. Missing weights or images, a missing configuration (the user may build first), a model that does not load
// and images that do not decode are told in a box. What was measured goes to the Evaluation dock's view, whose
// entries open their images and whose button checks the training labels; the view is cleared, and a run going is
// cancelled, when the project closes or another one opens.
class CEvaluationActions : public QObject
{
    Q_OBJECT
public:
    // The actions are children of pWindow, placed in the "Run" menu of commands. Model, controller and view are not
    // owned; model and controller must outlive this object; the view may be null.
    CEvaluationActions(QWidget* pWindow, const CMainWindowActions& commands, CProjectModel* pModel,
                       CProjectController* pController, CEvaluationView* pView = nullptr);
    ~CEvaluationActions() override;

    CEvaluationRun* Run() const { return m_pRun; }
    // The progress dialog of the run that is going; null when none is.
    QProgressDialog* Progress() const { return m_pProgress; }

    QAction* pEvaluate = nullptr;
    QAction* pCheckLabels = nullptr;

public slots:
    void slot_Evaluate();
    void slot_CheckTrainingLabels();
    // Opens the project image of an entry of the last run (its key, the image's name) as the project tree does,
    // with the run's detections on it at the user's threshold as proposals that are not stored; lstDetections are
    // shown instead when the run has none for the key.
    void slot_OpenImage(const QString& strImageKey, const CDetectionList& lstDetections);
    void UpdateEnabled();

private:
    void Start(bool bTrainingList);
    void Finished(bool bCancelled, int nSkipped, const QString& strError);
    void ConnectView();
    void ProjectChanged();

    QWidget* m_pWindow;
    QPointer<CProjectModel> m_pModel;
    QPointer<CProjectController> m_pController;
    CEvaluationRun* m_pRun = nullptr;
    QPointer<QProgressDialog> m_pProgress;
    QPointer<CEvaluationView> m_pView;
    // The record the last evaluation wrote, for the view's status line.
    QString m_strSaved;
};
