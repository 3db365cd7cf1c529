#include "views/CEvaluationEntryList.h"

#include <QHeaderView>

namespace
{
const int ENTRY_ROLE = Qt::UserRole;
} // namespace

CEvaluationEntryList::CEvaluationEntryList(const QStringList& lstHeaders, QWidget* pParent) : QTreeWidget(pParent)
{
    setHeaderLabels(QStringList("Image") + lstHeaders);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSortingEnabled(true);
    sortByColumn(0, Qt::AscendingOrder);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* pItem) { ItemActivated(pItem); });
}

void CEvaluationEntryList::ClearEntries()
{
    clear();
    m_vctDetections.clear();
}

void CEvaluationEntryList::AddEntry(const QString& strImageKey, const QStringList& lstColumns,
                                    const CDetectionList& detections)
{
    auto* pItem = new QTreeWidgetItem(QStringList(strImageKey) + lstColumns);
    pItem->setData(0, ENTRY_ROLE, m_vctDetections.size());
    pItem->setToolTip(0, strImageKey);
    m_vctDetections.append(detections);
    addTopLevelItem(pItem);
}

void CEvaluationEntryList::ItemActivated(QTreeWidgetItem* pItem)
{
    const int nEntry = pItem ? pItem->data(0, ENTRY_ROLE).toInt() : -1;
    if (nEntry < 0 || nEntry >= m_vctDetections.size())
        return;
    emit signal_OpenImage(pItem->text(0), m_vctDetections[nEntry]);
}
