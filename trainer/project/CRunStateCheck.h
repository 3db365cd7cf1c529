#pragma once

class CProjectModel;
class QWidget;

// The check before any edit of the project file: the trainer reads the file while it runs, so edits wait until it
// has stopped.
class CRunStateCheck
{
public:
    CRunStateCheck() = delete;

    // True while the trainer is stopped; otherwise tells the user "Project is still running" (over pParent) and gives
    // false. Without a model nothing can be known to be stopped.
    static bool Stopped(const CProjectModel* pModel, QWidget* pParent);
};
