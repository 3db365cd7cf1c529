#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CUndoCommand.h"

#include <vector>

// Several commands as one step: executed first to last, undone last to first. Owns its children.
class OVRELCOMMON_EXPORT CUndoCommandGroup : public CUndoCommand
{
public:
    CUndoCommandGroup() = default;
    CUndoCommandGroup(const CUndoCommandGroup&) = delete;
    CUndoCommandGroup& operator=(const CUndoCommandGroup&) = delete;
    ~CUndoCommandGroup() override;

    void Execute() override;
    void Undo() override;
    virtual void AddCommand(CUndoCommand* pCommand);

private:
    std::vector<CUndoCommand*> m_vctCommands;
};
