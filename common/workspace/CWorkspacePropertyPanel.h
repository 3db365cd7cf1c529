#pragma once

#include "OvrelCommonGlobal.h"

#include <QScrollArea>

// A scroll area of the main window's docks that shows the object panel of the active canvas. Each canvas hands its
// panel in when it becomes active; the panel is resized with the area.
class OVRELCOMMON_EXPORT CWorkspacePropertyPanel : public QScrollArea
{
    Q_OBJECT
public:
    explicit CWorkspacePropertyPanel(QWidget* parent = nullptr);
};
