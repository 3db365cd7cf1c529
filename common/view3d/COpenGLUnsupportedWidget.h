#pragma once

#include "OvrelCommonGlobal.h"

#include <QWidget>

// Stands in for the 3D view on systems without desktop OpenGL: one label, "System doesnot support OpenGL".
class OVRELCOMMON_EXPORT COpenGLUnsupportedWidget : public QWidget
{
    Q_OBJECT
public:
    explicit COpenGLUnsupportedWidget(QWidget* parent = nullptr);
};
