#pragma once

#include "OvrelCommonGlobal.h"
#include "process/CImageProcessView.h"

#include <QModelIndex>
#include <QPointer>
#include <QVector>

class CImage2DProcessSobelModel;
class QStandardItemModel;

// The Sobel tool's window ("Sobel"): the frame with a one-row table ("Type" and the direction key of the model) and a
// "Run" button. The model is not owned; it may be null (no table row) or go first.
class OVRELCOMMON_EXPORT CImage2DProcessSobelDlg : public CImageProcessView
{
    Q_OBJECT
public:
    explicit CImage2DProcessSobelDlg(CImage2DProcessSobelModel* pModel, QWidget* parent = nullptr);
    ~CImage2DProcessSobelDlg() override;

    QStandardItemModel* GetParameterModel() const { return m_pParameterModel; }

signals:
    void signal_Run();
    // A table edit: nCode is the row (0 the direction), strValue the cell's text.
    void signal_ChangeData(int nCode, const QString& strValue);

public slots:
    void slot_DataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QVector<int>& roles);

private:
    void SetupParameter();
    void SetupResult();
    void SetupButton();

    QStandardItemModel* m_pParameterModel = nullptr;
    QPointer<CImage2DProcessSobelModel> m_pModel;
};
