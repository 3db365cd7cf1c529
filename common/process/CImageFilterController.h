#pragma once

#include "OvrelCommonGlobal.h"
#include "process/CImageProcessController.h"

#include <QString>

class CImageProcessParameterDlg;

// The controller of a filter tool: the window's table edits reach slot_ChangeData, its "Run" button slot_Run. A run
// is not undone here; the viewer's own undo takes back the replaced image.
class OVRELCOMMON_EXPORT CImageFilterController : public CImageProcessController
{
    Q_OBJECT
public:
    bool Undo() override { return false; }
    bool Redo() override { return false; }

public slots:
    virtual void slot_ChangeData(int nCode, const QString& strValue) = 0;
    virtual void slot_Run() = 0;

protected:
    // The view is not owned and may be null.
    explicit CImageFilterController(CImageProcessParameterDlg* pView, QObject* parent = nullptr);
};
