#pragma once

#include <QString>

class CTrainingRun;
class QWidget;

// The question before the project or the program closes while the trainer runs; the window's close and the
// project's close ask the same; and the refusal to delete a project that a cluster job still works in.
class CRunCloseQuestion
{
public:
    CRunCloseQuestion() = delete;

    // Whether the close may go on. A stopped run: true without asking. A local trainer: "Program is running, do you
    // want to close it?" (Yes / No, No by default), true for Yes. A followed cluster job: the job needs no window, so
    // the question is what becomes of it: Yes (the default) leaves it running, No cancels it, both stop following it
    // (see CTrainingRun::ReleaseClusterJob) and give true; Cancel gives false and changes nothing.
    static bool MayClose(CTrainingRun* pRun, int nCommandState, QWidget* pParent, const QString& strTitle);
    // Whether the project's folder may be deleted: not while a cluster job is followed, which would go on writing
    // into a folder that is gone. The refusal is logged and told: "Stop training job %s before deleting the project".
    static bool MayDelete(const CTrainingRun* pRun, QWidget* pParent, const QString& strTitle);
};
