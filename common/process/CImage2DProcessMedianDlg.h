#pragma once

#include "OvrelCommonGlobal.h"
#include "process/CImageProcessView.h"

#include <QModelIndex>
#include <QPointer>
#include <QVector>

class CImage2DProcessMedianModel;
class QStandardItemModel;

// The median tool's window ("Median"): the frame with a two-row table ("Type" with the kernel type key of the model,
// "Size" with the size N of the N x N window) and a "Run" button. The model is not owned; it may be null (no table
// rows) or go first.
class OVRELCOMMON_EXPORT CImage2DProcessMedianDlg : public CImageProcessView
{
    Q_OBJECT
public:
    explicit CImage2DProcessMedianDlg(CImage2DProcessMedianModel* pModel, QWidget* parent = nullptr);
    ~CImage2DProcessMedianDlg() override;

    QStandardItemModel* GetParameterModel() const { return m_pParameterModel; }

signals:
    void signal_Run();
    // A table edit: nCode is the row (0 the kernel type, 1 the size), strValue the cell's text.
    void signal_ChangeData(int nCode, const QString& strValue);

public slots:
    void slot_DataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QVector<int>& roles);

private:
    void SetupParameter();
    void SetupResult();
    void SetupButton();

    QStandardItemModel* m_pParameterModel = nullptr;
    QPointer<CImage2DProcessMedianModel> m_pModel;
};
