#include "views/CProjectView.h"

#include "project/CProjectModel.h"
#include "project/ECommandState.h"
#include "project/store/CDatasetImageEntry.h"
#include "views/CProjectImageItem.h"
#include "views/CProjectItem.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>
#include <QStandardItemModel>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <utility>
#include <vector>

namespace
{
// Every row of the tree tells its kind through QStandardItem::type(); false for a row of another class.
bool KindOf(const QStandardItem* pItem, EProjectItemType& eType)
{
    if (!pItem || pItem->type() < QStandardItem::UserType)
        return false;
    eType = static_cast<EProjectItemType>(pItem->type() - QStandardItem::UserType);
    return true;
}

// The entry an image row shows, null for other rows.
std::shared_ptr<CDatasetImageEntry> ImageOf(const QStandardItem* pItem)
{
    const auto* pImage = dynamic_cast<const CProjectImageItem*>(pItem);
    return pImage ? pImage->GetImage() : nullptr;
}
} // namespace

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
        connect(m_pProjectModel, &CProjectModel::signal_ChangeImageValidation, this,
                &CProjectView::slot_ChangeImageValidation);
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

QStandardItem* CProjectView::ItemAt(const QModelIndex& index) const
{
    if (!index.isValid() || !m_pItemModel)
    {
        return nullptr;
    }
    return m_pItemModel->itemFromIndex(index);
}

void CProjectView::SetRowsPerStep(int nRows)
{
    m_nRowsPerStep = qMax(1, nRows);
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
    m_bMarksDirty = false;
}

void CProjectView::slot_CustomContextMenu(const QPoint& point)
{
    if (!m_pTreeView)
    {
        return;
    }
    EProjectItemType eType = EProjectItemType_Project;
    if (!KindOf(ItemAt(m_pTreeView->indexAt(point)), eType))
    {
        return;
    }
    QMenu* pMenu = MenuOf(eType);
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

void CProjectView::slot_ChangeImageValidation()
{
    if (!m_pTrainNode && !m_pTestNode)
    {
        return;
    }
    m_bMarksDirty = true;
    ScheduleReconcile();
}

void CProjectView::slot_ReconcileLists()
{
    if (!m_pProjectModel)
    {
        return;
    }
    // Rows read their mark from the entry when painted; the rows already there are told to repaint, new rows show
    // the mark as it is.
    if (m_bMarksDirty)
    {
        for (QStandardItem* pNode : {m_pTrainNode, m_pTestNode})
        {
            if (pNode && pNode->rowCount() > 0)
                RowsChanged(pNode, 0, pNode->rowCount() - 1);
        }
        m_bMarksDirty = false;
    }
    // A flag is cleared before its node is reconciled: a list change sent while the rows are told of sets it again.
    int nAddLimit = m_nRowsPerStep;
    if (m_bTrainDirty && m_pTrainNode)
    {
        m_bTrainDirty = false;
        if (!ReconcileNode(m_pTrainNode, true, nAddLimit))
            m_bTrainDirty = true;
    }
    if (m_bTestDirty && m_pTestNode)
    {
        m_bTestDirty = false;
        if (!ReconcileNode(m_pTestNode, false, nAddLimit))
            m_bTestDirty = true;
    }
    // The rest of a long list follows in later steps, after whatever else the event loop has to do.
    if ((m_bTrainDirty && m_pTrainNode) || (m_bTestDirty && m_pTestNode))
    {
        ScheduleReconcile();
    }
}

bool CProjectView::ReconcileNode(QStandardItem* pNode, bool bTrain, int& nAddLimit)
{
    const CProjectModel::EntryList& vctList = m_pProjectModel->GetImageList(bTrain);
    const EProjectItemType eKind = bTrain ? EProjectItemType_TrainImage : EProjectItemType_TestImage;
    const int nCount = static_cast<int>(vctList.size());
    const int nRows = pNode->rowCount();

    // Rows that already show their entry are left alone; the others take the entry of their position, and each run of
    // them is told in one signal.
    const int nShared = qMin(nRows, nCount);
    std::vector<std::pair<int, int>> vctRuns;
    for (int i = 0; i < nShared; ++i)
    {
        // Every row under an image node is an image row.
        auto* pItem = static_cast<CProjectImageItem*>(pNode->child(i));
        if (pItem->GetImage() == vctList[static_cast<size_t>(i)])
            continue;
        pItem->SetImage(i, vctList[static_cast<size_t>(i)]);
        if (!vctRuns.empty() && vctRuns.back().second == i - 1)
            vctRuns.back().second = i;
        else
            vctRuns.emplace_back(i, i);
    }
    // Missing rows come in blocks of at most nAddLimit: one row signal per block instead of one per image.
    const int nAdd = qBound(0, nCount - nRows, nAddLimit);
    QList<QStandardItem*> lstItems;
    lstItems.reserve(nAdd);
    for (int i = nRows; i < nRows + nAdd; ++i)
    {
        auto* pItem = new CProjectImageItem(eKind, m_iconValid, m_iconInvalid);
        pItem->SetImage(i, vctList[static_cast<size_t>(i)]);
        lstItems.append(pItem);
    }
    nAddLimit -= nAdd;
    const bool bDone = nRows + nAdd >= nCount;

    // The signals come last and the list is not read after them: a listener may change the list or close the project.
    for (const std::pair<int, int>& run : vctRuns)
    {
        if (pNode != (bTrain ? m_pTrainNode : m_pTestNode))
            break;
        RowsChanged(pNode, run.first, run.second);
    }
    if (pNode != (bTrain ? m_pTrainNode : m_pTestNode))
    {
        qDeleteAll(lstItems);
        return true;
    }
    // Surplus rows go in one block.
    if (nRows > nCount)
        pNode->removeRows(nCount, nRows - nCount);
    else if (!lstItems.isEmpty())
        pNode->appendRows(lstItems);
    return bDone;
}

void CProjectView::RowsChanged(QStandardItem* pNode, int nFirst, int nLast)
{
    // Image rows compute text and icon from their entries and cannot tell the item model themselves; the signal is
    // the one QStandardItem sends for a changed row, once for the whole run.
    const QModelIndex parent = pNode->index();
    emit m_pItemModel->dataChanged(m_pItemModel->index(nFirst, 0, parent), m_pItemModel->index(nLast, 0, parent));
}

void CProjectView::slot_CurrentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    Q_UNUSED(previous);
    const std::shared_ptr<CDatasetImageEntry> pEntry = ImageOf(ItemAt(current));
    if (m_bSelecting || !pEntry)
    {
        return;
    }
    emit signal_OpenImageFile(pEntry->GetImageID(), pEntry->GetFullPath());
}

void CProjectView::SelectImage(int nImageID)
{
    for (QStandardItem* pNode : {m_pTrainNode, m_pTestNode})
    {
        for (int i = 0; pNode && i < pNode->rowCount(); ++i)
        {
            QStandardItem* pItem = pNode->child(i);
            const std::shared_ptr<CDatasetImageEntry> pEntry = ImageOf(pItem);
            if (!pEntry || pEntry->GetImageID() != nImageID)
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
        QStandardItem* pItem = ItemAt(index);
        EProjectItemType eKind = EProjectItemType_Project;
        const std::shared_ptr<CDatasetImageEntry> pEntry = ImageOf(pItem);
        if (pEntry && KindOf(pItem, eKind) && eKind == eType)
        {
            vctIDs.append(pEntry->GetImageID());
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
    EProjectItemType eType = EProjectItemType_Project;
    if (!KindOf(ItemAt(index), eType))
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
    switch (eType)
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
