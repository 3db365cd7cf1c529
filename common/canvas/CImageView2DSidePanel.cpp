#include "canvas/CImageView2DSidePanel.h"

CImageView2DSidePanel::CImageView2DSidePanel(QWidget* parent) : QWidget(parent) {}

CImageView2DSidePanel::~CImageView2DSidePanel() = default;
