#pragma once

#include "views/EProjectItemType.h"

#include <QIcon>
#include <QStandardItem>

#include <memory>

class CDatasetImageEntry;

// An image row of the project tree (kind EProjectItemType_TrainImage or _TestImage). Its text "[row] name" and its
// validation icon are read from the entry whenever they are asked for, not stored: a tree of 200,000 images then
// holds no string, icon or connection per row. Setting a new entry tells nobody; the view that owns the row tells its
// item model which rows changed, in runs.
class CProjectImageItem : public QStandardItem
{
public:
    // The icons are shared with every other row.
    CProjectImageItem(EProjectItemType eType, const QIcon& iconValid, const QIcon& iconInvalid);
    ~CProjectImageItem() override;

    EProjectItemType GetItemType() const { return m_eType; }
    const std::shared_ptr<CDatasetImageEntry>& GetImage() const { return m_pEntry; }
    // Shows the entry as the one at nIndex of its list.
    void SetImage(int nIndex, std::shared_ptr<CDatasetImageEntry> pEntry);

    // Display and edit role: "[row] name"; decoration role: the valid or the invalid icon (also while not yet
    // validated). Without an entry, and for the other roles, what QStandardItem holds.
    QVariant data(int nRole = Qt::UserRole + 1) const override;
    // QStandardItem::UserType + the kind, as CProjectItem answers.
    int type() const override;

private:
    std::shared_ptr<CDatasetImageEntry> m_pEntry;
    QIcon m_iconValid;
    QIcon m_iconInvalid;
    EProjectItemType m_eType;
    int m_nIndex = 0;
};
