#pragma once

#include "OvrelCommonGlobal.h"

#include <QScrollArea>

// A scroll area of the main window's docks that shows the tool panel of the active canvas (its drawing modes). Each
// canvas hands its panel in when it becomes active; the panel is resized with the area.
class OVRELCOMMON_EXPORT CWorkspaceToolPanel : public QScrollArea
{
    Q_OBJECT
public:
    explicit CWorkspaceToolPanel(QWidget* parent = nullptr);
};
