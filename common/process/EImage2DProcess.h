#pragma once

#include "OvrelCommonGlobal.h"

#include <QObject>

// The choices of the filter tools. Both hold any int, since unknown words read from a table become -1. Their keys are
// known to Qt's meta-object system, so the parameter tables show and read them as words made from the keys
// (ParameterEditors::ChoiceText: "Sobel X", "Median 3x3").
namespace Image2DProcess
{
Q_NAMESPACE_EXPORT(OVRELCOMMON_EXPORT)

// The direction of the Sobel derivative.
enum EImage2DProcessSobel : int
{
    EImage2DProcessSobelX = 0,
    EImage2DProcessSobelY = 1,
    EImage2DProcessSobelXY = 2
};
Q_ENUM_NS(EImage2DProcessSobel)

// The window of the median filter: 3 x 3, 5 x 5, or N x N with N the median model's size.
enum EImage2DProcessMedian : int
{
    EImage2DProcessMedian3x3 = 0,
    EImage2DProcessMedian5x5 = 1,
    EImage2DProcessMedianNxN = 2
};
Q_ENUM_NS(EImage2DProcessMedian)
} // namespace Image2DProcess

using Image2DProcess::EImage2DProcessMedian;
using Image2DProcess::EImage2DProcessMedian3x3;
using Image2DProcess::EImage2DProcessMedian5x5;
using Image2DProcess::EImage2DProcessMedianNxN;
using Image2DProcess::EImage2DProcessSobel;
using Image2DProcess::EImage2DProcessSobelX;
using Image2DProcess::EImage2DProcessSobelXY;
using Image2DProcess::EImage2DProcessSobelY;
