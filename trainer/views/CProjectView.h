#pragma once

#include "views/EProjectItemType.h"

#include <QIcon>
#include <QWidget>

class CProjectModel;
class QItemSelectionModel;
class QMenu;
class QModelIndex;
class QStandardItem;
class QStandardItemModel;
class QTimer;
class QTreeView;

// The "Project" tab: a tree of the open project with its classes, parameters, configuration and the two image lists,
// each image marked valid or invalid. It reads only the project model and turns every user command into a signal for
// the project controller.
//
// Image lists are reconciled lazily. The model may emit one list signal per added image; the list slots only mark the
// node dirty and start a zero-delay single-shot timer, and the node is brought in line with the model when control
// returns to the event loop. Reconciling is linear in the list length, leaves a row that already shows its entry
// untouched, relabels changed rows in runs and removes surplus rows in one block. Missing rows are added in slices of
// at most GetRowsPerStep() per event-loop step, each slice in one block, so that a list of 200,000 images never
// freezes the window: the tree fills from the top while the window keeps answering.
// Consequently the image rows follow a list change only after the event loop has run (tests wait with QTRY_COMPARE);
// the skeleton built on a project change and the clearing on close happen at once. Image rows read their text and
// validation icon from their entry; a validation change repaints the rows after the event loop has run.
class CProjectView : public QWidget
{
    Q_OBJECT
public:
    CProjectView(CProjectModel* pModel, QWidget* parent = nullptr);
    ~CProjectView() override;

    // Empties the tree; called by the controller after deleting the project. Pending list changes are dropped with
    // the nodes, up to the next project change.
    void ClearTree();
    // Makes the row of that project image the current one without asking to open it: the image is open already. A
    // row the tree does not show yet (lists follow after the event loop has run) stays unselected.
    void SelectImage(int nImageID);
    // Rows added per event-loop step while a list fills (both lists together); at least 1.
    void SetRowsPerStep(int nRows);
    int GetRowsPerStep() const { return m_nRowsPerStep; }

signals:
    void signal_CloseProject();
    void signal_DeleteProject();
    void signal_AddTrainImage();
    void signal_ShuffleTrainImage();
    void signal_SortTrainImage();
    void signal_RemoveTrainImage(int nImageID);
    void signal_AddTestImage();
    void signal_RemoveTestImage(int nImageID);
    void signal_OpenImageFile(int nImageID, const QString& strFile);
    void signal_EditClasses();
    void signal_EditParameters();
    void signal_ProjectProperty();
    void signal_EditConfiguration();

public slots:
    void slot_CustomContextMenu(const QPoint& point);
    void slot_ChangeProject();
    void slot_ChangeTrainImageList();
    void slot_ChangeTestImageList();
    void slot_CurrentChanged(const QModelIndex& current, const QModelIndex& previous);
    void slot_CloseProject();
    void slot_ChangeCommandState();
    // Emit one removal per selected image of the matching kind, in selection order, after collecting all IDs: each
    // removal reshapes the model and would otherwise disturb the selection being read.
    void slot_RemoveTrainImage();
    void slot_RemoveTestImage();
    // Opens the editor of "Classes", "Parameters" or "Configuration"; refused while the trainer runs or starts.
    void slot_DoubleClicked(const QModelIndex& index);

private slots:
    void slot_ReconcileLists();
    void slot_ChangeImageValidation();

private:
    void CreateMenus();
    QMenu* MenuOf(EProjectItemType eType) const;
    QStandardItem* ItemAt(const QModelIndex& index) const;
    void ScheduleReconcile();
    // Brings the node's rows in line with the list, adding at most nAddLimit rows, and reduces nAddLimit by the rows
    // added. False while rows are still missing.
    bool ReconcileNode(QStandardItem* pNode, bool bTrain, int& nAddLimit);
    // Tells the item model that the node's rows nFirst..nLast show something else now.
    void RowsChanged(QStandardItem* pNode, int nFirst, int nLast);
    void CollectSelectedImageIDs(EProjectItemType eType, QVector<int>& vctIDs) const;
    void ForgetNodes();

    CProjectModel* m_pProjectModel = nullptr;
    QStandardItemModel* m_pItemModel = nullptr;
    QTreeView* m_pTreeView = nullptr;
    QMenu* m_pProjectMenu = nullptr;
    QMenu* m_pTrainImagesMenu = nullptr;
    QMenu* m_pTestImagesMenu = nullptr;
    QMenu* m_pClassesMenu = nullptr;
    QMenu* m_pParametersMenu = nullptr;
    QMenu* m_pConfigurationMenu = nullptr;
    QMenu* m_pTrainImageMenu = nullptr;
    QMenu* m_pTestImageMenu = nullptr;
    QItemSelectionModel* m_pSelectionModel = nullptr;
    QStandardItem* m_pTrainNode = nullptr;
    QStandardItem* m_pTestNode = nullptr;

    QTimer* m_pReconcileTimer = nullptr;
    bool m_bTrainDirty = false;
    bool m_bTestDirty = false;
    // A validation changed since the rows were last repainted.
    bool m_bMarksDirty = false;
    int m_nRowsPerStep = 50000;
    // Set while SelectImage moves the current row, so that the move opens nothing.
    bool m_bSelecting = false;
    // Shared by every image row, so a large list does not read the icon files once per row.
    QIcon m_iconValid;
    QIcon m_iconInvalid;
};
