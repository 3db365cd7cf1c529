#include "workspace/CWorkspaceBottomPanel.h"

CWorkspaceBottomPanel::CWorkspaceBottomPanel(QWidget* parent) : QScrollArea(parent)
{
    setWidgetResizable(true);
}
