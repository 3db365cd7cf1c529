#include "view3d/COpenGLUnsupportedWidget.h"

#include <QLabel>
#include <QVBoxLayout>

COpenGLUnsupportedWidget::COpenGLUnsupportedWidget(QWidget* parent) : QWidget(parent)
{
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(new QLabel("System doesnot support OpenGL", this));
}
