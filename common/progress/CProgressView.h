#pragma once

#include "OvrelCommonGlobal.h"

#include <QPointer>
#include <QWidget>

class CProgressModel;
class QProgressBar;

// A progress bar that follows a progress model: its range is 0 to the model's maximum and it shows the model's
// value, held inside that range (a value past the maximum shows a full bar, a negative one an empty bar). It shows
// the model's state from construction on. The model is not owned; once it is gone the bar keeps what it showed.
class OVRELCOMMON_EXPORT CProgressView : public QWidget
{
    Q_OBJECT
public:
    explicit CProgressView(CProgressModel* pModel, QWidget* parent = nullptr);

    QProgressBar* GetProgressBar() const;

public slots:
    void slot_ChangeMaxRange();
    void slot_ChangeValue();

private:
    QPointer<CProgressModel> m_pModel;
    QProgressBar* m_pProgressBar = nullptr;
};
