#pragma once

#include "OvrelCommonGlobal.h"
#include "process/CImageProcessController.h"

#include <QPointer>

#include <memory>

class CImage2DProcessOCRDlg;
class CImage2DProcessOCRModel;

namespace Ovrel
{
namespace Algorithms
{
class COvrelOCR;
}
} // namespace Ovrel

// Reads the text inside the chosen ROI shape of the bound viewer's current image (the whole image without one) with
// the imaging library's OCR engine, using the model's language, language data folder and dpi. The image is not
// changed. A successful run shows the text in the result box, "Processing Time %lld ms" in the message box, and logs
// "Run OCR OK %s". A failed one empties the result box and says why in the message box (and the log, as a warning):
// "Cannot load language %s from %s" when the engine cannot load the language data, "Text recognition failed" when it
// refuses the dpi or cannot read the image. Neither model nor view is owned; the engine is.
class OVRELCOMMON_EXPORT CImage2DProcessOCRController : public CImageProcessController
{
    Q_OBJECT
public:
    CImage2DProcessOCRController(CImage2DProcessOCRModel* pModel, CImage2DProcessOCRDlg* pView,
                                 QObject* parent = nullptr);
    ~CImage2DProcessOCRController() override;

    bool Undo() override { return false; }
    bool Redo() override { return false; }

public slots:
    // Code 0 sets the language code, 1 the language data folder, 2 the dpi (the value read as a decimal integer, 0
    // when it is none); other codes are ignored.
    void slot_ChangeData(int nCode, const QString& strValue);
    void slot_RunOCR();

private:
    void Fail(const QString& strMessage);

    QPointer<CImage2DProcessOCRModel> m_pModel;
    QPointer<CImage2DProcessOCRDlg> m_pView;
    std::unique_ptr<Ovrel::Algorithms::COvrelOCR> m_pOCR;
};
