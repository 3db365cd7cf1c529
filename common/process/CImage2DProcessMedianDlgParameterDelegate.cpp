#include "process/CImage2DProcessMedianDlgParameterDelegate.h"

#include "process/CImage2DProcessMedianModel.h"
#include "process/EImage2DProcess.h"
#include "process/ParameterEditors.h"

#include <QSpinBox>

#include <algorithm>

CImage2DProcessMedianDlgParameterDelegate::CImage2DProcessMedianDlgParameterDelegate(QObject* parent)
    : CImageProcessKeyDelegate(QMetaEnum::fromType<EImage2DProcessMedian>(), parent)
{
}

QWidget* CImage2DProcessMedianDlgParameterDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                                                 const QModelIndex& index) const
{
    if (index.row() != 1 || !ParameterEditors::IsEditableCell(parent, index))
        return CImageProcessKeyDelegate::createEditor(parent, option, index);
    auto* pSize = new QSpinBox(parent);
    pSize->setRange(CImage2DProcessMedianModel::kMinSize, CImage2DProcessMedianModel::kMaxSize);
    pSize->setSingleStep(2);
    return pSize;
}

void CImage2DProcessMedianDlgParameterDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                                             const QModelIndex& index) const
{
    auto* pSize = qobject_cast<QSpinBox*>(editor);
    if (index.row() != 1)
        CImageProcessKeyDelegate::setModelData(editor, model, index);
    else if (pSize)
        model->setData(index, QString::number(std::min(pSize->value() | 1, CImage2DProcessMedianModel::kMaxSize)),
                       Qt::EditRole);
}
