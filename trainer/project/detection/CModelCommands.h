#pragma once

#include "project/inference/CDetectionRunner.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class CDatabase;
class CProjectModel;
class CRoiProposals;
class CWeightsChoice;
class QProgressDialog;
class QWidget;

// The commands that run the open project's trained network: "Detect" on one project image (its detections become
// proposals on the views that show it, not stored), "Pre-label Images" over every image without boxes (stored
// proposals), the choice of weights and the detection threshold (stored per project).
//
// The network runs on the runner's thread; one run at a time: a command given while a run goes is refused with a
// status message. Closing or changing the project cancels the run; what a pre-labelling stored stays. Every bad input
// (no weights, weights that do not fit, a configuration that cannot run, an image that does not decode) is logged
// and told through CPrompt, and changes nothing; a missing configuration offers to build first.
class CModelCommands : public QObject
{
    Q_OBJECT
public:
    // Nothing is owned. build runs the project's build and says whether it went through; prompts get pPromptParent.
    CModelCommands(CDatabase* pDatabase, CProjectModel* pModel, CRoiProposals* pProposals, std::function<bool()> build,
                   QWidget* pPromptParent, QObject* parent = nullptr);
    ~CModelCommands() override;

    // Detects on project image nImageID (-1: no project image, which is said). False when nothing started.
    bool Detect(int nImageID);
    // Detects on every image of both lists that has no box, storing each one's detections as its proposals in place
    // of those it had, with a progress dialog whose Cancel ends the run. False when nothing started.
    bool PreLabel();
    // Asks for a weights file, starting in the Backup folder; an empty answer goes back to the newest there.
    void ChooseWeights();
    // Asks for the threshold and stores it as the project's CProjectProperties::DETECTION_THRESHOLD.
    void AskThreshold();
    // The open project's threshold; CDetectionModel::DEFAULT_THRESHOLD while it has none (or an unusable one).
    float Threshold() const;
    // The weights file the user chose for the open project; empty for the newest of its Backup folder.
    QString ChosenWeights() const;

    bool IsRunning() const { return m_runner.IsRunning(); }
    // Ends the run at once; the images done so far keep their proposals.
    void Cancel();

signals:
    // A short line for the window's status bar: what a run found, or why a command did nothing.
    void signal_Status(const QString& strText);
    // A pre-labelling ended (also cancelled) after storing proposals: what counts them should count again.
    void signal_ProposalsStored();

private:
    enum class ERun
    {
        None,
        Detect,
        PreLabel
    };
    // Resolves the configuration (offering the build when it is missing) and the weights; false, with the user told,
    // when there is no model to run.
    bool PrepareModel(const QString& strTitle, QString& strConfig, QString& strWeights);
    // Logs the text as an error and shows it in a warning box.
    void Fail(const QString& strTitle, const QString& strText);
    void Say(const QString& strText);
    void ProjectChanged();
    void OnImageDetected(int nImageID, const CDetectionList& lstDetections);
    void OnImageSkipped(int nImageID, const QString& strReason);
    void OnFinished(bool bCancelled, int nSkipped);
    QString ImageName(int nImageID) const;

    CDatabase* m_pDatabase;
    QPointer<CProjectModel> m_pModel;
    CRoiProposals* m_pProposals;
    std::function<bool()> m_build;
    QPointer<QWidget> m_pPromptParent;
    // Made for the project that is open; a chosen file lasts until another project opens.
    std::unique_ptr<CWeightsChoice> m_pWeightsChoice;
    QString m_strProjectDir;

    CDetectionRunner m_runner;
    ERun m_eRun = ERun::None;
    QString m_strRunWeights;
    float m_fRunThreshold = 0.0f;
    int m_nRunTotal = 0;
    int m_nWithProposals = 0;
    int m_nWithout = 0;
    bool m_bModelFailed = false;
    QPointer<QProgressDialog> m_pProgress;
};
