#pragma once

#include "OvrelCommonGlobal.h"
#include "process/CImageProcessKeyDelegate.h"

// Edits the Sobel tool's table: row 0 of column 1 with a list of the direction keys ("EImage2DProcessSobelX" ...). No
// other cell can be edited, nor any cell of a view whose model is not a QStandardItemModel.
class OVRELCOMMON_EXPORT CImage2DProcessSobelDlgParameterDelegate : public CImageProcessKeyDelegate
{
    Q_OBJECT
public:
    explicit CImage2DProcessSobelDlgParameterDelegate(QObject* parent = nullptr);
};
