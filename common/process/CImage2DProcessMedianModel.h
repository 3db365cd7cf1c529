#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CModel.h"
#include "process/EImage2DProcess.h"

// The parameters of the median tool: the kernel type (EImage2DProcessMedian3x3 at first) and the window size N that
// the type EImage2DProcessMedianNxN uses (7 at first). Emits nothing.
class OVRELCOMMON_EXPORT CImage2DProcessMedianModel : public CModel
{
    Q_OBJECT
public:
    static constexpr int kMinSize = 3;
    static constexpr int kMaxSize = 255;

    explicit CImage2DProcessMedianModel(QObject* parent = nullptr);

    EImage2DProcessMedian GetType() const { return m_eType; }
    // Any value is stored, also one outside the enumeration (the tool then runs no filter).
    void SetType(EImage2DProcessMedian eType);

    int GetSize() const { return m_nSize; }
    // Stores odd sizes from kMinSize to kMaxSize; false, keeping the old size, for any other.
    bool SetSize(int nSize);

    // The radius of the window the type stands for: 1 for 3 x 3, 2 for 5 x 5, (N - 1) / 2 for N x N; -1 for a value
    // outside the enumeration.
    int GetRadius() const;
    // The side of the window the filter runs with: 3, 5 or N; N for a value outside the enumeration.
    int GetWindowSize() const;
    // Takes an odd size from kMinSize to kMaxSize as the window: 3 and 5 choose their own type, any other N x N with
    // that size. False, changing nothing, for any other size.
    bool SetWindowSize(int nSize);

private:
    EImage2DProcessMedian m_eType = EImage2DProcessMedian3x3;
    int m_nSize = 7;
};
