#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CModel.h"
#include "process/EImage2DProcess.h"

// The parameter of the Sobel tool: the direction of the derivative, EImage2DProcessSobelX at first. Emits nothing.
class OVRELCOMMON_EXPORT CImage2DProcessSobelModel : public CModel
{
    Q_OBJECT
public:
    explicit CImage2DProcessSobelModel(QObject* parent = nullptr);

    EImage2DProcessSobel GetType() const { return m_eType; }
    // Any value is stored, also one outside the enumeration (the tool then runs no filter).
    void SetType(EImage2DProcessSobel eType);

private:
    EImage2DProcessSobel m_eType = EImage2DProcessSobelX;
};
