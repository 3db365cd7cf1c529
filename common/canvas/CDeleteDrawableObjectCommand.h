#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CUndoCommand.h"

#include <memory>

class CDrawableObject;
class CDrawableObjectModel;

// Deletes an object from the model it is given; undo puts it back at the list index it had when it was deleted (so a
// group's undo, last to first, restores the whole order) as the only selected one, keeping its UID and name.
class OVRELCOMMON_EXPORT CDeleteDrawableObjectCommand : public CUndoCommand
{
public:
    // The model is not owned; without one the command does nothing.
    CDeleteDrawableObjectCommand(CDrawableObjectModel* pModel, std::shared_ptr<CDrawableObject> pObject);

    void Execute() override;
    void Undo() override;

private:
    CDrawableObjectModel* m_pModel;
    std::shared_ptr<CDrawableObject> m_pObject;
    int m_nIndex = 0;
};
