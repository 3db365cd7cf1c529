#include "project/CRunCloseQuestion.h"

#include "frame/CLogger.h"
#include "frame/CPrompt.h"
#include "project/ECommandState.h"
#include "project/run/CTrainingRun.h"

bool CRunCloseQuestion::MayClose(CTrainingRun* pRun, int nCommandState, QWidget* pParent, const QString& strTitle)
{
    if (nCommandState == ECommandState_Stopped)
        return true;
    const QString strJobId = pRun ? pRun->ClusterJobId() : QString();
    if (strJobId.isEmpty())
        return CPrompt::Question(pParent, strTitle, "Program is running, do you want to close it?",
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    const QMessageBox::StandardButton answer =
        CPrompt::Question(pParent, strTitle,
                          QString("Training job %1 is queued or running on the Slurm cluster. Leave it running?\n\n"
                                  "Yes: it trains on and is followed again when the project is opened.\n"
                                  "No: cancel the job.\n"
                                  "Cancel: do not close.")
                              .arg(strJobId),
                          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer != QMessageBox::Yes && answer != QMessageBox::No)
        return false;
    pRun->ReleaseClusterJob(answer == QMessageBox::No);
    return true;
}

bool CRunCloseQuestion::MayDelete(const CTrainingRun* pRun, QWidget* pParent, const QString& strTitle)
{
    if (pRun->ClusterJobId().isEmpty())
        return true;
    const QString strText = "Stop training job " + pRun->ClusterJobId() + " before deleting the project";
    CLogger::Write(ELogLevel_Error, "%s", qUtf8Printable(strText));
    CPrompt::Warning(pParent, strTitle, strText);
    return false;
}
