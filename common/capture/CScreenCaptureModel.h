#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CModel.h"

// The screen capture tool holds no data of its own; the model completes its model/view/controller triple.
class OVRELCOMMON_EXPORT CScreenCaptureModel : public CModel
{
    Q_OBJECT
public:
    explicit CScreenCaptureModel(QObject* parent = nullptr);
};
