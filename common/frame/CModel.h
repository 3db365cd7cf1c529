#pragma once

#include "OvrelCommonGlobal.h"

#include <QObject>

// Base of every model, so that models can be told apart from other objects.
class OVRELCOMMON_EXPORT CModel : public QObject
{
    Q_OBJECT
public:
    explicit CModel(QObject* parent = nullptr) : QObject(parent) {}
};
