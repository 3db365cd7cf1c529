#pragma once

#include "OvrelCommonGlobal.h"

#include <QObject>

// Base of every controller. Controllers without undo return false from both operations.
class OVRELCOMMON_EXPORT CController : public QObject
{
    Q_OBJECT
public:
    explicit CController(QObject* parent = nullptr) : QObject(parent) {}

    // Takes back the most recent change of this controller's domain; true if something was undone.
    virtual bool Undo() = 0;
    // Re-applies the most recently undone change; true if something was redone.
    virtual bool Redo() = 0;
};
