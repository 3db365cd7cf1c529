#include "workspace/CWorkspacePropertyPanel.h"

CWorkspacePropertyPanel::CWorkspacePropertyPanel(QWidget* parent) : QScrollArea(parent)
{
    setWidgetResizable(true);
}
