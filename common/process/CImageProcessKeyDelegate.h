#pragma once

#include "OvrelCommonGlobal.h"

#include <QMetaEnum>
#include <QStyledItemDelegate>

// Edits row 0 of column 1 of a tool's parameter table, the tool's type, with a list of the words of its enumeration's
// choices (see ParameterEditors::ChoiceText).
// No other cell can be edited, nor any cell of a view whose model is not a QStandardItemModel; subclasses add editors
// for further rows.
class OVRELCOMMON_EXPORT CImageProcessKeyDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    CImageProcessKeyDelegate(const QMetaEnum& keys, QObject* parent);

private:
    QMetaEnum m_keys;
};
