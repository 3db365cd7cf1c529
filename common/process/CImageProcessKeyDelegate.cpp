#include "process/CImageProcessKeyDelegate.h"

#include "process/ParameterEditors.h"

#include <QComboBox>

CImageProcessKeyDelegate::CImageProcessKeyDelegate(const QMetaEnum& keys, QObject* parent)
    : QStyledItemDelegate(parent), m_keys(keys)
{
}

QWidget* CImageProcessKeyDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                                const QModelIndex& index) const
{
    if (!ParameterEditors::IsEditableCell(parent, index) || index.row() != 0)
        return nullptr;
    return ParameterEditors::KeyList(m_keys, parent);
}

void CImageProcessKeyDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* pList = qobject_cast<QComboBox*>(editor);
    if (index.row() == 0 && pList)
        model->setData(index, pList->currentText(), Qt::EditRole);
}
