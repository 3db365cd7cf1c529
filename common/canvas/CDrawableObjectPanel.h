#pragma once

#include "OvrelCommonGlobal.h"

#include <QWidget>

// The canvas's widget for the workspace's property area: shows nothing yet, but holds the area at a usable width.
class OVRELCOMMON_EXPORT CDrawableObjectPanel : public QWidget
{
    Q_OBJECT
public:
    explicit CDrawableObjectPanel(QWidget* parent = nullptr);
    ~CDrawableObjectPanel() override;
};
