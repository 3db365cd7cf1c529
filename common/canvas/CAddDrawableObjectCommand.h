#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CUndoCommand.h"

#include <memory>

class CDrawableObject;
class ICanvasController;

// Adds an object to the canvas's model as the only selected one; undo deletes it again. The object keeps its UID and
// name through any number of undos and redos.
class OVRELCOMMON_EXPORT CAddDrawableObjectCommand : public CUndoCommand
{
public:
    CAddDrawableObjectCommand(ICanvasController* pController, std::shared_ptr<CDrawableObject> pObject);

    void Execute() override;
    void Undo() override;

private:
    ICanvasController* m_pController;
    std::shared_ptr<CDrawableObject> m_pObject;
};
