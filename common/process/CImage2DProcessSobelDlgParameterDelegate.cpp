#include "process/CImage2DProcessSobelDlgParameterDelegate.h"

#include "process/EImage2DProcess.h"
#include "process/ParameterEditors.h"

#include <QComboBox>

CImage2DProcessSobelDlgParameterDelegate::CImage2DProcessSobelDlgParameterDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

QWidget* CImage2DProcessSobelDlgParameterDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                                                const QModelIndex& index) const
{
    if (!ParameterEditors::IsEditableCell(parent, index) || index.row() != 0)
        return nullptr;
    return ParameterEditors::KeyList(QMetaEnum::fromType<EImage2DProcessSobel>(), parent);
}

void CImage2DProcessSobelDlgParameterDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                                            const QModelIndex& index) const
{
    auto* pList = qobject_cast<QComboBox*>(editor);
    if (index.row() == 0 && pList)
        model->setData(index, pList->currentText(), Qt::EditRole);
}
