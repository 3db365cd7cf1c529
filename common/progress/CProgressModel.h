#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CModel.h"

// How far a long job has come: a value out of a maximum (100 and 0 to begin with, so plain percentages need no
// range). Values are stored as given; showing them inside the range is the view's business.
class OVRELCOMMON_EXPORT CProgressModel : public CModel
{
    Q_OBJECT
public:
    explicit CProgressModel(QObject* parent = nullptr);

    // Store a different value and then announce it; an equal value changes nothing and emits nothing.
    void SetMaxRange(int nMaxRange);
    void SetValue(int nValue);
    int GetMaxRange() const;
    int GetValue() const;

signals:
    void signal_MaxRangeChanged();
    void signal_ValueChanged();

private:
    int m_nMaxRange = 100;
    int m_nValue = 0;
};
