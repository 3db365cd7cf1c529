#include "views/CProjectView.h"

#include "project/CProjectModel.h"
#include "project/ECommandState.h"
#include "project/store/CDatasetImageEntry.h"
#include "views/CProjectItem.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>
#include <QStandardItemModel>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

CProjectView::CProjectView(CProjectModel* pModel, QWidget* parent)
    : QWidget(parent), m_pProjectModel(pModel), m_iconValid(QStringLiteral(":/Image/validate_ok.png")),
      m_iconInvalid(QStringLiteral(":/Image/validate_error.png"))
{
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);

    m_pItemModel = new QStandardItemModel(this);
    m_pTreeView = new QTreeView(this);
    m_pTreeView->setModel(m_pItemModel);
    m_pTreeView->setHeaderHidden(true);
    m_pTreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTreeView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pTreeView->setContextMenuPolicy(Qt::CustomContextMenu);
    // Every row is one line with a small icon. Saying so spares the tree a walk over all rows above an item each time
    // one row changes, which made relabelling a list of thousands of images quadratic.
    m_pTreeView->setUniformRowHeights(true);
    pLayout->addWidget(m_pTreeView);
    connect(m_pTreeView, &QTreeView::customContextMenuRequested, this, &CProjectView::slot_CustomContextMenu);
    connect(m_pTreeView, &QTreeView::doubleClicked, this, &CProjectView::slot_DoubleClicked);

    CreateMenus();

    m_pReconcileTimer = new QTimer(this);
    m_pReconcileTimer->setSingleShot(true);
    m_pReconcileTimer->setInterval(0);
    connect(m_pReconcileTimer, &QTimer::timeout, this, &CProjectView::slot_ReconcileLists);

    if (m_pProjectModel)
    {
        connect(m_pProjectModel, &CProjectModel::signal_ChangeProject, this, &CProjectView::slot_ChangeProject);
        connect(m_pProjectModel, &CProjectModel::signal_ChangeTrainImageList, this,
                &CProjectView::slot_ChangeTrainImageList);
        connect(m_pProjectModel, &CProjectModel::signal_ChangeTestImageList, this,
                &CProjectView::slot_ChangeTestImageList);
        connect(m_pProjectModel, &CProjectModel::signal_CloseProject, this, &CProjectView::slot_CloseProject);
        connect(m_pProjectModel, &CProjectModel::signal_ChangeCommandState, this,
                &CProjectView::slot_ChangeCommandState);
    }
    m_pSelectionModel = m_pTreeView->selectionModel();
    connect(m_pSelectionModel, &QItemSelectionModel::currentChanged, this, &CProjectView::slot_CurrentChanged);
}

CProjectView::~CProjectView() = default;

void CProjectView::CreateMenus()
{
    m_pProjectMenu = new QMenu(this);
    m_pTrainImagesMenu = new QMenu(this);
    m_pTestImagesMenu = new QMenu(this);
    m_pClassesMenu = new QMenu(this);
    m_pParametersMenu = new QMenu(this);
    m_pConfigurationMenu = new QMenu(this);
    m_pTrainImageMenu = new QMenu(this);
    m_pTestImageMenu = new QMenu(this);

    connect(m_pProjectMenu->addAction(QIcon(QStringLiteral(":/Image/close.png")), QStringLiteral("Close")),
            &QAction::triggered, this, &CProjectView::signal_CloseProject);
    connect(m_pProjectMenu->addAction(QIcon(QStringLiteral(":/Image/clear.png")), QStringLiteral("Delete")),
            &QAction::triggered, this, &CProjectView::signal_DeleteProject);
    connect(m_pProjectMenu->addAction(QIcon(QStringLiteral(":/Image/configure.png")), QStringLiteral("Properties")),
            &QAction::triggered, this, &CProjectView::signal_ProjectProperty);

    connect(m_pTrainImagesMenu->addAction(QStringLiteral("Add Image")), &QAction::triggered, this,
            &CProjectView::signal_AddTrainImage);
    connect(m_pTrainImagesMenu->addAction(QStringLiteral("Shuffle Image")), &QAction::triggered, this,
            &CProjectView::signal_ShuffleTrainImage);
    connect(m_pTrainImagesMenu->addAction(QStringLiteral("Sort Image")), &QAction::triggered, this,
            &CProjectView::signal_SortTrainImage);

    connect(m_pTrainImageMenu->addAction(QStringLiteral("Remove Image")), &QAction::triggered, this,
            &CProjectView::slot_RemoveTrainImage);

    connect(m_pClassesMenu->addAction(QStringLiteral("Edit Class Categories")), &QAction::triggered, this,
            &CProjectView::signal_EditClasses);
    connect(m_pParametersMenu->addAction(QStringLiteral("Edit Parameters")), &QAction::triggered, this,
            &CProjectView::signal_EditParameters);
    connect(m_pConfigurationMenu->addAction(QStringLiteral("Edit Configuration")), &QAction::triggered, this,
            &CProjectView::signal_EditConfiguration);

    connect(m_pTestImagesMenu->addAction(QStringLiteral("Add Image")), &QAction::triggered, this,
            &CProjectView::signal_AddTestImage);
    connect(m_pTestImageMenu->addAction(QStringLiteral("Remove Image")), &QAction::triggered, this,
            &CProjectView::slot_RemoveTestImage);
}

QMenu* CProjectView::MenuOf(EProjectItemType eType) const
{
    switch (eType)
    {
    case EProjectItemType_Project:
        return m_pProjectMenu;
    case EProjectItemType_TrainImages:
        return m_pTrainImagesMenu;
    case EProjectItemType_TestImages:
        return m_pTestImagesMenu;
    case EProjectItemType_TrainImage:
        return m_pTrainImageMenu;
    case EProjectItemType_TestImage:
        return m_pTestImageMenu;
    case EProjectItemType_Classes:
        return m_pClassesMenu;
    case EProjectItemType_Parameters:
        return m_pParametersMenu;
    case EProjectItemType_Configuration:
        return m_pConfigurationMenu;
    }
    return nullptr;
}

CProjectItem* CProjectView::ItemAt(const QModelIndex& index) const
{
    if (!index.isValid() || !m_pItemModel)
    {
        return nullptr;
    }
    return dynamic_cast<CProjectItem*>(m_pItemModel->itemFromIndex(index));
}

void CProjectView::ClearTree()
{
    if (m_pTreeView && m_pItemModel)
    {
        m_pItemModel->clear();
        ForgetNodes();
    }
}

void CProjectView::ForgetNodes()
{
    // The nodes were deleted with the item model's rows; list changes that have not been shown yet belonged to them.
    m_pTrainNode = nullptr;
    m_pTestNode = nullptr;
    m_bTrainDirty = false;
    m_bTestDirty = false;
}

void CProjectView::slot_CustomContextMenu(const QPoint& point)
{
    if (!m_pTreeView)
    {
        return;
    }
    CProjectItem* pItem = ItemAt(m_pTreeView->indexAt(point));
    if (!pItem)
    {
        return;
    }
    QMenu* pMenu = MenuOf(pItem->GetItemType());
    if (pMenu)
    {
        // The tree reports the point in its viewport's coordinates, which is also what indexAt expects.
        pMenu->exec(m_pTreeView->viewport()->mapToGlobal(point));
    }
}

void CProjectView::slot_ChangeProject()
{
    if (!m_pItemModel || !m_pTreeView || !m_pProjectModel)
    {
        return;
    }
    m_pItemModel->clear();
    ForgetNodes();

    auto* pProject = new CProjectItem(EProjectItemType_Project);
    pProject->setText(m_pProjectModel->GetProjectName());
    pProject->setIcon(QIcon(QStringLiteral(":/Image/open-folder.png")));
    m_pItemModel->appendRow(pProject);

    auto addNode = [pProject](EProjectItemType eType, const QString& strText, const QString& strIcon)
    {
        auto* pNode = new CProjectItem(eType);
        pNode->setText(strText);
        pNode->setIcon(QIcon(strIcon));
        pProject->appendRow(pNode);
        return pNode;
    };
    addNode(EProjectItemType_Classes, QStringLiteral("Classes"), QStringLiteral(":/Image/class.png"));
    addNode(EProjectItemType_Configuration, QStringLiteral("Configuration"), QStringLiteral(":/Image/configure.png"));
    addNode(EProjectItemType_Parameters, QStringLiteral("Parameters"), QStringLiteral(":/Image/settings.png"));
    m_pTrainNode =
        addNode(EProjectItemType_TrainImages, QStringLiteral("Train Images"), QStringLiteral(":/Image/photo.png"));
    m_pTestNode =
        addNode(EProjectItemType_TestImages, QStringLiteral("Test Images"), QStringLiteral(":/Image/photo.png"));

    m_pTreeView->expandAll();
}

void CProjectView::slot_ChangeTrainImageList()
{
    if (!m_pTrainNode)
    {
        return;
    }
    m_bTrainDirty = true;
    ScheduleReconcile();
}

void CProjectView::slot_ChangeTestImageList()
{
    if (!m_pTestNode)
    {
        return;
    }
    m_bTestDirty = true;
    ScheduleReconcile();
}

void CProjectView::ScheduleReconcile()
{
    if (!m_pReconcileTimer->isActive())
    {
        m_pReconcileTimer->start();
    }
}

void CProjectView::slot_ReconcileLists()
{
    if (!m_pProjectModel)
    {
        return;
    }
    if (m_bTrainDirty && m_pTrainNode)
    {
        ReconcileNode(m_pTrainNode, true);
    }
    if (m_bTestDirty && m_pTestNode)
    {
        ReconcileNode(m_pTestNode, false);
    }
    m_bTrainDirty = false;
    m_bTestDirty = false;
}

void CProjectView::ReconcileNode(QStandardItem* pNode, bool bTrain)
{
    const CProjectModel::EntryList vctList =
        bTrain ? m_pProjectModel->GetTrainImages() : m_pProjectModel->GetTestImages();
    const EProjectItemType eKind = bTrain ? EProjectItemType_TrainImage : EProjectItemType_TestImage;
    const int nCount = static_cast<int>(vctList.size());
    const int nRows = pNode->rowCount();

    // Rows that already show their entry are left alone; the others take the entry of their position.
    const int nShared = qMin(nRows, nCount);
    for (int i = 0; i < nShared; ++i)
    {
        auto* pItem = dynamic_cast<CProjectItem*>(pNode->child(i));
        if (pItem && pItem->GetImage() != vctList[static_cast<size_t>(i)])
        {
            pItem->SetImage(i, vctList[static_cast<size_t>(i)]);
        }
    }

    // Surplus rows go, and missing rows come, in one block each: one row signal instead of one per image.
    if (nRows > nCount)
    {
        pNode->removeRows(nCount, nRows - nCount);
    }
    else if (nCount > nRows)
    {
        QList<QStandardItem*> lstItems;
        lstItems.reserve(nCount - nRows);
        for (int i = nRows; i < nCount; ++i)
        {
            auto* pItem = new CProjectItem(eKind, m_iconValid, m_iconInvalid);
            pItem->SetImage(i, vctList[static_cast<size_t>(i)]);
            lstItems.append(pItem);
        }
        pNode->appendRows(lstItems);
    }
}

void CProjectView::slot_CurrentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    Q_UNUSED(previous);
    CProjectItem* pItem = ItemAt(current);
    if (m_bSelecting || !pItem || !pItem->GetImage())
    {
        return;
    }
    const EProjectItemType eType = pItem->GetItemType();
    if (eType == EProjectItemType_TrainImage || eType == EProjectItemType_TestImage)
    {
        emit signal_OpenImageFile(pItem->GetImage()->GetImageID(), pItem->GetImage()->GetFullPath());
    }
}

void CProjectView::SelectImage(int nImageID)
{
    for (QStandardItem* pNode : {m_pTrainNode, m_pTestNode})
    {
        for (int i = 0; pNode && i < pNode->rowCount(); ++i)
        {
            auto* pItem = dynamic_cast<CProjectItem*>(pNode->child(i));
            if (!pItem || !pItem->GetImage() || pItem->GetImage()->GetImageID() != nImageID)
                continue;
            m_bSelecting = true;
            m_pSelectionModel->setCurrentIndex(pItem->index(), QItemSelectionModel::ClearAndSelect);
            m_pTreeView->scrollTo(pItem->index());
            m_bSelecting = false;
            return;
        }
    }
}

void CProjectView::slot_CloseProject()
{
    ClearTree();
}

void CProjectView::slot_ChangeCommandState()
{
    if (!m_pProjectModel)
    {
        return;
    }
    const int nState = m_pProjectModel->GetCommandState();
    bool bEnable = false;
    if (nState == ECommandState_Stopped)
    {
        bEnable = true;
    }
    else if (nState != ECommandState_Running && nState != ECommandState_Starting)
    {
        return;
    }
    for (QMenu* pMenu : {m_pProjectMenu, m_pTrainImagesMenu, m_pTestImagesMenu, m_pClassesMenu, m_pParametersMenu,
                         m_pConfigurationMenu, m_pTrainImageMenu, m_pTestImageMenu})
    {
        for (QAction* pAction : pMenu->actions())
        {
            pAction->setEnabled(bEnable);
        }
    }
}

void CProjectView::CollectSelectedImageIDs(EProjectItemType eType, QVector<int>& vctIDs) const
{
    if (!m_pSelectionModel)
    {
        return;
    }
    const QModelIndexList lstRows = m_pSelectionModel->selectedRows(0);
    for (const QModelIndex& index : lstRows)
    {
        CProjectItem* pItem = ItemAt(index);
        if (pItem && pItem->GetItemType() == eType && pItem->GetImage())
        {
            vctIDs.append(pItem->GetImage()->GetImageID());
        }
    }
}

void CProjectView::slot_RemoveTrainImage()
{
    QVector<int> vctIDs;
    CollectSelectedImageIDs(EProjectItemType_TrainImage, vctIDs);
    for (int nID : vctIDs)
    {
        emit signal_RemoveTrainImage(nID);
    }
}

void CProjectView::slot_RemoveTestImage()
{
    QVector<int> vctIDs;
    CollectSelectedImageIDs(EProjectItemType_TestImage, vctIDs);
    for (int nID : vctIDs)
    {
        emit signal_RemoveTestImage(nID);
    }
}

void CProjectView::slot_DoubleClicked(const QModelIndex& index)
{
    CProjectItem* pItem = ItemAt(index);
    if (!pItem)
    {
        return;
    }
    // The editors change what the running trainer reads (a class deleted mid-training), so a double click is refused
    // while the trainer runs or starts, as the menus are.
    if (m_pProjectModel && (m_pProjectModel->GetCommandState() == ECommandState_Running ||
                            m_pProjectModel->GetCommandState() == ECommandState_Starting))
    {
        return;
    }
    switch (pItem->GetItemType())
    {
    case EProjectItemType_Classes:
        emit signal_EditClasses();
        break;
    case EProjectItemType_Parameters:
        emit signal_EditParameters();
        break;
    case EProjectItemType_Configuration:
        emit signal_EditConfiguration();
        break;
    default:
        break;
    }
}
