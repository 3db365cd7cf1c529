#pragma once

#include "views/EProjectItemType.h"

#include <QIcon>
#include <QObject>
#include <QStandardItem>

#include <memory>

class CDatasetImageEntry;

// One node of the project tree. Image nodes (kinds 3 and 4) hold their list entry and follow its validation: the
// icon changes at once when the entry's validation changes, without any list signal. The tree itself shows its image
// rows with the lighter CProjectImageItem.
class CProjectItem : public QObject, public QStandardItem
{
    Q_OBJECT
public:
    explicit CProjectItem(EProjectItemType eType);
    // An image node that takes its two validation icons from the caller, so that a tree of many images shares one
    // pair instead of reading the icon files once per node.
    CProjectItem(EProjectItemType eType, const QIcon& iconValid, const QIcon& iconInvalid);
    ~CProjectItem() override;

    EProjectItemType GetItemType() const { return m_eType; }
    // QStandardItem::UserType + the kind, so that the tree tells its rows' kinds alike for every row class.
    int type() const override;
    // The entry shown, null for nodes that are not images.
    const std::shared_ptr<CDatasetImageEntry>& GetImage() const { return m_pEntry; }

    // Follows the new entry instead of the old one. With an entry the text becomes "[row] name"; the icon is then
    // brought up to date in every case.
    void SetImage(int nIndex, std::shared_ptr<CDatasetImageEntry> pEntry);

public slots:
    // Validation icon of the entry: valid or invalid (also while not yet validated); nothing without an entry.
    void slot_ChangeValidation();

private:
    EProjectItemType m_eType;
    std::shared_ptr<CDatasetImageEntry> m_pEntry;
    QIcon m_iconValid;
    QIcon m_iconInvalid;
};
