#pragma once

#include "OvrelCommonGlobal.h"
#include "process/CImageProcessParameterDlg.h"

class CImage2DProcessOCRModel;
class QTextEdit;

// The OCR tool's window ("OCR"): the frame with a three-row table ("Language code", "Language Data Path",
// "User Defined Dpi"), the recognised text in the "Result" box and a "Run" button. The model is not owned; it may be
// null (no table rows) or go first.
class OVRELCOMMON_EXPORT CImage2DProcessOCRDlg : public CImageProcessParameterDlg
{
    Q_OBJECT
public:
    // Table edits: signal_ChangeData's nCode is the row (0 language code, 1 language data folder, 2 dpi).
    explicit CImage2DProcessOCRDlg(CImage2DProcessOCRModel* pModel, QWidget* parent = nullptr);

    // Replaces the text of the result box.
    void SetResultText(const QString& strText);
    QString GetResultText() const;

private:
    void SetupResult();

    QTextEdit* m_pResult = nullptr;
};
