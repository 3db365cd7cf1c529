#include "process/ParameterEditors.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QStandardItemModel>

namespace ParameterEditors
{

bool IsEditableCell(const QWidget* pEditorParent, const QModelIndex& index)
{
    if (index.column() != 1 || !pEditorParent)
        return false;
    const auto* pView = qobject_cast<const QAbstractItemView*>(pEditorParent->parentWidget());
    return pView && qobject_cast<const QStandardItemModel*>(pView->model());
}

QComboBox* KeyList(const QMetaEnum& keys, QWidget* parent)
{
    auto* pList = new QComboBox(parent);
    for (int i = 0; i < keys.keyCount(); ++i)
        pList->addItem(QString::fromLatin1(keys.key(i)));
    return pList;
}

} // namespace ParameterEditors
