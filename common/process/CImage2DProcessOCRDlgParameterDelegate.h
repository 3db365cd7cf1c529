#pragma once

#include "OvrelCommonGlobal.h"

#include <QStyledItemDelegate>

// Edits the OCR tool's table in column 1: row 0 with a list of "eng", "vie" and "kor"; row 1 (the language data
// folder) with a line for the folder and a "..." button that asks for one; row 2 with a spin box from 1 to 1024 dpi.
// No other cell can be edited, nor any cell of a view whose model is not a QStandardItemModel.
class OVRELCOMMON_EXPORT CImage2DProcessOCRDlgParameterDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit CImage2DProcessOCRDlgParameterDelegate(QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    // An empty folder line writes nothing.
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};
