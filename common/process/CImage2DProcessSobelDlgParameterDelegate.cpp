#include "process/CImage2DProcessSobelDlgParameterDelegate.h"

#include "process/EImage2DProcess.h"

CImage2DProcessSobelDlgParameterDelegate::CImage2DProcessSobelDlgParameterDelegate(QObject* parent)
    : CImageProcessKeyDelegate(QMetaEnum::fromType<EImage2DProcessSobel>(), parent)
{
}
