#pragma once

#include "OvrelCommonGlobal.h"
#include "process/CImageProcessView.h"

#include <QModelIndex>
#include <QPointer>
#include <QVector>

class CImage2DProcessOCRModel;
class QStandardItemModel;
class QTextEdit;

// The OCR tool's window ("OCR"): the frame with a three-row table ("Language code", "Language Data Path",
// "User Defined Dpi"), the recognised text in the "Result" box and a "Run" button. The model is not owned; it may be
// null (no table rows) or go first.
class OVRELCOMMON_EXPORT CImage2DProcessOCRDlg : public CImageProcessView
{
    Q_OBJECT
public:
    explicit CImage2DProcessOCRDlg(CImage2DProcessOCRModel* pModel, QWidget* parent = nullptr);
    ~CImage2DProcessOCRDlg() override;

    // Replaces the text of the result box.
    void SetResultText(const QString& strText);
    QString GetResultText() const;
    QStandardItemModel* GetParameterModel() const { return m_pParameterModel; }

signals:
    void signal_Run();
    // A table edit: nCode is the row (0 language code, 1 language data folder, 2 dpi), strValue the cell's text.
    void signal_ChangeData(int nCode, const QString& strValue);

public slots:
    void slot_DataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QVector<int>& roles);

private:
    void SetupParameter();
    void SetupResult();
    void SetupButton();

    QTextEdit* m_pResult = nullptr;
    QStandardItemModel* m_pParameterModel = nullptr;
    QPointer<CImage2DProcessOCRModel> m_pModel;
};
