#pragma once

#include <QtCore/qglobal.h>

#if defined(OVRELCOMMON_LIBRARY)
#define OVRELCOMMON_EXPORT Q_DECL_EXPORT
#else
#define OVRELCOMMON_EXPORT Q_DECL_IMPORT
#endif
