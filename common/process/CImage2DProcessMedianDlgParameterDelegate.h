#pragma once

#include "OvrelCommonGlobal.h"
#include "process/CImageProcessKeyDelegate.h"

// Edits the median tool's table in column 1: row 0 with a list of the kernel type keys ("EImage2DProcessMedian3x3"
// ...), row 1 (the size N of the N x N window) with a spin box of odd sizes from 3 to 255. No other cell can be edited,
// nor any cell of a view whose model is not a QStandardItemModel.
class OVRELCOMMON_EXPORT CImage2DProcessMedianDlgParameterDelegate : public CImageProcessKeyDelegate
{
    Q_OBJECT
public:
    explicit CImage2DProcessMedianDlgParameterDelegate(QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // An even size typed into the spin box is written as the next odd one.
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};
