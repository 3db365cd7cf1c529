#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class CBoxListView;
class CDrawableObjectModel;
class CImageWorkspaceController;
class CProjectController;
class QWidget;

// Keeps the box list equal to the boxes of the viewer that has the keyboard focus: every add, delete, change and
// clear of its objects (drawn, undone, redone, another image shown) refreshes the list once control returns to the
// event loop, so that a change of many boxes refreshes it once. The list's selection selects the boxes, its Delete
// deletes the selected boxes as one undo step, as the canvas's Delete key does, and its Relabel asks the box's new
// class through the project controller, as the box's own menu does. A hidden list is filled when it is shown.
class CBoxListController : public QObject
{
    Q_OBJECT
public:
    // Nothing is owned; the workspace and the project controller must outlive this.
    CBoxListController(CBoxListView* pView, CImageWorkspaceController* pWorkspace, CProjectController* pProject,
                       QObject* parent = nullptr);

    // Lists the boxes of viewer nViewID from now on (what a focus inside that viewer does).
    void ShowView(int nViewID);
    int GetViewID() const { return m_nViewID; }

private:
    void FocusChanged(QWidget* pNow);
    void ScheduleRefresh();
    void Refresh();
    void SelectBoxes(const QList<unsigned int>& lstUIDs);
    void DeleteBoxes();
    void RelabelBox(unsigned int nUID);

    CBoxListView* m_pView = nullptr;
    CImageWorkspaceController* m_pWorkspace = nullptr;
    CProjectController* m_pProject = nullptr;
    int m_nViewID = -1;
    QPointer<CDrawableObjectModel> m_pObjects;
    bool m_bRefreshPending = false;
};
