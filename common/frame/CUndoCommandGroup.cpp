#include "frame/CUndoCommandGroup.h"

CUndoCommandGroup::~CUndoCommandGroup()
{
    for (CUndoCommand* pCommand : m_vctCommands)
        delete pCommand;
    m_vctCommands.clear();
}

void CUndoCommandGroup::Execute()
{
    for (CUndoCommand* pCommand : m_vctCommands)
    {
        if (pCommand)
            pCommand->Execute();
    }
}

void CUndoCommandGroup::Undo()
{
    for (auto it = m_vctCommands.rbegin(); it != m_vctCommands.rend(); ++it)
    {
        if (*it)
            (*it)->Undo();
    }
}

void CUndoCommandGroup::AddCommand(CUndoCommand* pCommand)
{
    m_vctCommands.push_back(pCommand);
}
