#include "canvas/CDrawableObjectPanel.h"

CDrawableObjectPanel::CDrawableObjectPanel(QWidget* parent) : QWidget(parent)
{
    setMinimumWidth(200);
}

CDrawableObjectPanel::~CDrawableObjectPanel() = default;
