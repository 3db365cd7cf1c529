#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CUndoCommand.h"

#include <memory>

class CDrawableObject;
class CDrawableObjectModel;

// Adds an object to the model it is given as the only selected one; undo deletes it again. The object keeps its UID and
// name through any number of undos and redos.
class OVRELCOMMON_EXPORT CAddDrawableObjectCommand : public CUndoCommand
{
public:
    // The model is not owned; without one the command does nothing.
    CAddDrawableObjectCommand(CDrawableObjectModel* pModel, std::shared_ptr<CDrawableObject> pObject);

    void Execute() override;
    void Undo() override;

private:
    CDrawableObjectModel* m_pModel;
    std::shared_ptr<CDrawableObject> m_pObject;
};
