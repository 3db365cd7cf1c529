#include "process/CImage2DProcessOCRController.h"

#include "frame/CLogger.h"
#include "process/CImage2DProcessOCRDlg.h"
#include "process/CImage2DProcessOCRModel.h"
#include "workspace/CImageViewerController.h"

#include "Algorithms/COvrelOCR.h"
#include "Utils/COvrelImage.h"

using Ovrel::Algorithms::COvrelOCR;
using Ovrel::Utils::EOvrelResult_OK;

CImage2DProcessOCRController::CImage2DProcessOCRController(CImage2DProcessOCRModel* pModel,
                                                           CImage2DProcessOCRDlg* pView, QObject* parent)
    : CImageProcessController(pView, parent), m_pModel(pModel), m_pView(pView), m_pOCR(std::make_unique<COvrelOCR>())
{
    if (m_pView)
    {
        connect(m_pView, &CImage2DProcessOCRDlg::signal_Run, this, &CImage2DProcessOCRController::slot_RunOCR);
        connect(m_pView, &CImage2DProcessOCRDlg::signal_ChangeData, this,
                &CImage2DProcessOCRController::slot_ChangeData);
    }
}

CImage2DProcessOCRController::~CImage2DProcessOCRController() = default;

void CImage2DProcessOCRController::slot_ChangeData(int nCode, const QString& strValue)
{
    if (!m_pModel)
        return;
    switch (nCode)
    {
    case 0:
        m_pModel->SetLanguageCode(strValue);
        break;
    case 1:
        m_pModel->SetLanguagePath(strValue);
        break;
    case 2:
        m_pModel->SetUserDefinedDpi(strValue.toInt());
        break;
    }
}

void CImage2DProcessOCRController::slot_RunOCR()
{
    if (!m_pView || !m_pModel || !GetSourceViewCtrl())
        return;
    const std::shared_ptr<Ovrel::Utils::COvrelImage> pImage = GetSourceViewCtrl()->GetCurrentImage();
    if (!pImage)
        return;
    const std::shared_ptr<Ovrel::Geometry::COvrelGeometry> pRegion = FindSourceRegion();
    if (!m_pOCR)
        return;
    const QByteArray folder = m_pModel->GetLanguagePath().toLocal8Bit();
    const QByteArray code = m_pModel->GetLanguageCode().toLocal8Bit();
    if (m_pOCR->SetLanguageData(folder.constData(), code.constData()) != EOvrelResult_OK)
    {
        Fail(QString::asprintf("Cannot load language %s from %s", code.constData(), folder.constData()));
        return;
    }
    if (m_pOCR->SetUserDefinedDpi(m_pModel->GetUserDefinedDpi()) != EOvrelResult_OK)
    {
        Fail("Text recognition failed");
        return;
    }
    StartProcess();
    if (m_pOCR->Decode(pImage.get(), pRegion.get()) != EOvrelResult_OK)
    {
        Fail("Text recognition failed");
        return;
    }
    EndProcess();
    const QString strText = QString::asprintf("%s", m_pOCR->GetText());
    m_pView->SetResultText(strText);
    CLogger::Write(ELogLevel_Normal, "Run OCR OK %s", strText.toUtf8().constData());
}

void CImage2DProcessOCRController::Fail(const QString& strMessage)
{
    // The text of an earlier run would read as this run's result next to the failure.
    m_pView->SetResultText(QString());
    m_pView->SetMessage(strMessage);
    CLogger::Write(ELogLevel_Warning, "%s", strMessage.toUtf8().constData());
}
