#pragma once

#include "OvrelCommonGlobal.h"

#include <QScrollArea>

// A scroll area of the main window's docks that shows the side widget of the active canvas. Each canvas hands its panel
// in when it becomes active; the panel is resized with the area.
class OVRELCOMMON_EXPORT CWorkspaceBottomPanel : public QScrollArea
{
    Q_OBJECT
public:
    explicit CWorkspaceBottomPanel(QWidget* parent = nullptr);
};
