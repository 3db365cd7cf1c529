#pragma once

#include "OvrelCommonGlobal.h"

// An undoable change. Once pushed, the stack owns it.
class OVRELCOMMON_EXPORT CUndoCommand
{
public:
    virtual ~CUndoCommand() = default;
    virtual void Execute() = 0;
    virtual void Undo() = 0;
    // Performs the change again; by default the same as Execute.
    virtual void Redo() { Execute(); }
    // Takes in the change of the command pushed right after this one, so that both undo as one step; the command
    // offered has been executed already. The default takes none.
    virtual bool MergeWith(const CUndoCommand& /*next*/) { return false; }
};
