#include "views/CProjectImageItem.h"

#include "project/store/CDatasetImageEntry.h"

CProjectImageItem::CProjectImageItem(EProjectItemType eType, const QIcon& iconValid, const QIcon& iconInvalid)
    : m_iconValid(iconValid), m_iconInvalid(iconInvalid), m_eType(eType)
{
}

CProjectImageItem::~CProjectImageItem() = default;

void CProjectImageItem::SetImage(int nIndex, std::shared_ptr<CDatasetImageEntry> pEntry)
{
    m_nIndex = nIndex;
    m_pEntry = std::move(pEntry);
}

QVariant CProjectImageItem::data(int nRole) const
{
    if (m_pEntry && (nRole == Qt::DisplayRole || nRole == Qt::EditRole))
        return QString(QLatin1Char('[') + QString::number(m_nIndex) + QLatin1String("] ") + m_pEntry->GetName());
    if (m_pEntry && nRole == Qt::DecorationRole)
        return m_pEntry->IsValid() ? m_iconValid : m_iconInvalid;
    const QVariant value = QStandardItem::data(nRole);
    // QStandardItem keeps its flags under this role. Saying that an image row never has children spares the tree a
    // lookup per row each time it lays out a list of 200,000 rows.
    if (nRole == Qt::UserRole - 1 && !value.isValid())
        return static_cast<int>(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
                                Qt::ItemIsDropEnabled | Qt::ItemNeverHasChildren);
    return value;
}

int CProjectImageItem::type() const
{
    return QStandardItem::UserType + m_eType;
}
