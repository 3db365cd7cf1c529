#include "process/CImage2DProcessMedianDlgParameterDelegate.h"

#include "process/CImage2DProcessMedianModel.h"
#include "process/EImage2DProcess.h"
#include "process/ParameterEditors.h"

#include <QComboBox>
#include <QSpinBox>

#include <algorithm>

CImage2DProcessMedianDlgParameterDelegate::CImage2DProcessMedianDlgParameterDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

QWidget* CImage2DProcessMedianDlgParameterDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                                                 const QModelIndex& index) const
{
    if (!ParameterEditors::IsEditableCell(parent, index))
        return nullptr;
    if (index.row() == 0)
        return ParameterEditors::KeyList(QMetaEnum::fromType<EImage2DProcessMedian>(), parent);
    if (index.row() == 1)
    {
        auto* pSize = new QSpinBox(parent);
        pSize->setRange(CImage2DProcessMedianModel::kMinSize, CImage2DProcessMedianModel::kMaxSize);
        pSize->setSingleStep(2);
        return pSize;
    }
    return nullptr;
}

void CImage2DProcessMedianDlgParameterDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                                             const QModelIndex& index) const
{
    if (index.row() == 0)
    {
        if (auto* pList = qobject_cast<QComboBox*>(editor))
            model->setData(index, pList->currentText(), Qt::EditRole);
    }
    else if (index.row() == 1)
    {
        if (auto* pSize = qobject_cast<QSpinBox*>(editor))
        {
            const int nOdd = std::min(pSize->value() | 1, CImage2DProcessMedianModel::kMaxSize);
            model->setData(index, QString::number(nOdd), Qt::EditRole);
        }
    }
}

void CImage2DProcessMedianDlgParameterDelegate::updateEditorGeometry(QWidget* editor,
                                                                     const QStyleOptionViewItem& option,
                                                                     const QModelIndex& index) const
{
    QStyledItemDelegate::updateEditorGeometry(editor, option, index);
}
