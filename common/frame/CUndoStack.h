#pragma once

#include "OvrelCommonGlobal.h"

#include <QMutex>

#include <deque>

class CUndoCommand;

// Keeps performed commands and moves them between an undo and a redo side. Pushing does not execute the command; it
// deletes every command on the redo side, since they were undone in a state that the new command has left behind.
// An undone command reaches the redo side only after its own Undo has returned, so a command that pushes from there
// never deletes itself.
class OVRELCOMMON_EXPORT CUndoStack
{
public:
    CUndoStack() = default;
    CUndoStack(const CUndoStack&) = delete;
    CUndoStack& operator=(const CUndoStack&) = delete;
    virtual ~CUndoStack();

    virtual void PushUndo(CUndoCommand* pCommand);
    // Offers the executed command to the newest one on the undo side (CUndoCommand::MergeWith). True when that took
    // it in: the caller keeps and deletes the command. False, changing nothing, when there is no newest command, it
    // declines, or commands wait on the redo side (the change is then a step of its own, to be pushed).
    bool MergeWithNewest(const CUndoCommand& command);
    virtual void Undo();
    virtual void Redo();

    int UndoCount() const;
    int RedoCount() const;

    // Exchanges every command, both sides, with the other stack: a history can be put aside and brought back whole.
    void Swap(CUndoStack& other);
    // Deletes every command on both sides.
    void Clear();

private:
    std::deque<CUndoCommand*> m_queUndo;
    std::deque<CUndoCommand*> m_queRedo;
    mutable QMutex m_mutexUndo;
    mutable QMutex m_mutexRedo;
};
