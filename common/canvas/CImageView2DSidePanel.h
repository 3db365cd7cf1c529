#pragma once

#include "OvrelCommonGlobal.h"

#include <QWidget>

// The canvas's widget for the workspace's bottom area. Empty: it keeps the area's place for a canvas.
class OVRELCOMMON_EXPORT CImageView2DSidePanel : public QWidget
{
    Q_OBJECT
public:
    explicit CImageView2DSidePanel(QWidget* parent = nullptr);
    ~CImageView2DSidePanel() override;
};
