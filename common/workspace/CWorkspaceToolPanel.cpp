#include "workspace/CWorkspaceToolPanel.h"

CWorkspaceToolPanel::CWorkspaceToolPanel(QWidget* parent) : QScrollArea(parent)
{
    setWidgetResizable(true);
}
