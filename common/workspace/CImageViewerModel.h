#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CModel.h"

// The model of an image viewer's registered triple. A viewer's data lives in its image list and object models; this
// one only completes the triple, so that the registry holds a model for each viewer.
class OVRELCOMMON_EXPORT CImageViewerModel : public CModel
{
    Q_OBJECT
public:
    explicit CImageViewerModel(QObject* parent = nullptr);
};
