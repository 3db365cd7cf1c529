#pragma once

#include "OvrelCommonGlobal.h"

#include <QMutex>

#include <deque>

class CUndoCommand;

// Keeps performed commands and moves them between an undo and a redo side. Commands are deleted only with the stack.
// Pushing does not execute and leaves the redo side alone, so a later Redo still re-applies the last undone command.
class OVRELCOMMON_EXPORT CUndoStack
{
public:
    CUndoStack() = default;
    CUndoStack(const CUndoStack&) = delete;
    CUndoStack& operator=(const CUndoStack&) = delete;
    virtual ~CUndoStack();

    virtual void PushUndo(CUndoCommand* pCommand);
    virtual void Undo();
    virtual void Redo();

    int UndoCount() const;
    int RedoCount() const;

private:
    std::deque<CUndoCommand*> m_queUndo;
    std::deque<CUndoCommand*> m_queRedo;
    mutable QMutex m_mutexUndo;
    mutable QMutex m_mutexRedo;
};
