#include "views/CProjectItem.h"

#include "project/store/CDatasetImageEntry.h"

CProjectItem::CProjectItem(EProjectItemType eType) : m_eType(eType) {}

CProjectItem::CProjectItem(EProjectItemType eType, const QIcon& iconValid, const QIcon& iconInvalid)
    : m_eType(eType), m_iconValid(iconValid), m_iconInvalid(iconInvalid)
{
}

CProjectItem::~CProjectItem() = default;

int CProjectItem::type() const
{
    return QStandardItem::UserType + m_eType;
}

void CProjectItem::SetImage(int nIndex, std::shared_ptr<CDatasetImageEntry> pEntry)
{
    if (m_pEntry)
    {
        disconnect(m_pEntry.get(), &CDatasetImageEntry::signal_ChangeValidation, this,
                   &CProjectItem::slot_ChangeValidation);
    }
    m_pEntry = std::move(pEntry);
    if (m_pEntry)
    {
        setText(QLatin1Char('[') + QString::number(nIndex) + QLatin1String("] ") + m_pEntry->GetName());
        connect(m_pEntry.get(), &CDatasetImageEntry::signal_ChangeValidation, this,
                &CProjectItem::slot_ChangeValidation);
    }
    slot_ChangeValidation();
}

void CProjectItem::slot_ChangeValidation()
{
    if (!m_pEntry)
    {
        return;
    }
    const bool bValid = m_pEntry->IsValid();
    QIcon& icon = bValid ? m_iconValid : m_iconInvalid;
    if (icon.isNull())
    {
        icon = QIcon(bValid ? QStringLiteral(":/Image/validate_ok.png") : QStringLiteral(":/Image/validate_error.png"));
    }
    setIcon(icon);
}
