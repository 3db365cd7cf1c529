#include "frame/CUndoStack.h"

#include "frame/CUndoCommand.h"

#include <QMutexLocker>

namespace
{
CUndoCommand* TakeNewest(std::deque<CUndoCommand*>& queue, QMutex& mutex, bool& bTaken)
{
    QMutexLocker locker(&mutex);
    bTaken = !queue.empty();
    if (!bTaken)
        return nullptr;
    CUndoCommand* pCommand = queue.back();
    queue.pop_back();
    return pCommand;
}

void Append(std::deque<CUndoCommand*>& queue, QMutex& mutex, CUndoCommand* pCommand)
{
    QMutexLocker locker(&mutex);
    queue.push_back(pCommand);
}
} // namespace

CUndoStack::~CUndoStack()
{
    bool bTaken = true;
    while (true)
    {
        CUndoCommand* pCommand = TakeNewest(m_queUndo, m_mutexUndo, bTaken);
        if (!bTaken)
            break;
        delete pCommand;
    }
    while (true)
    {
        CUndoCommand* pCommand = TakeNewest(m_queRedo, m_mutexRedo, bTaken);
        if (!bTaken)
            break;
        delete pCommand;
    }
}

void CUndoStack::PushUndo(CUndoCommand* pCommand)
{
    // A redo after a new edit would re-apply a command to a state it was never undone from.
    std::deque<CUndoCommand*> queStale;
    {
        QMutexLocker locker(&m_mutexRedo);
        queStale.swap(m_queRedo);
    }
    Append(m_queUndo, m_mutexUndo, pCommand);
    // Newest first, as the destructor does, and outside the lock: a command's destructor may be anything.
    for (auto it = queStale.rbegin(); it != queStale.rend(); ++it)
        delete *it;
}

bool CUndoStack::MergeWithNewest(const CUndoCommand& command)
{
    if (RedoCount() > 0)
        return false;
    QMutexLocker locker(&m_mutexUndo);
    return !m_queUndo.empty() && m_queUndo.back()->MergeWith(command);
}

void CUndoStack::Undo()
{
    bool bTaken = false;
    CUndoCommand* pCommand = TakeNewest(m_queUndo, m_mutexUndo, bTaken);
    if (!pCommand)
        return;
    // Runs outside the locks so that a command may push further commands; such a push empties the redo side, which
    // must not hold this command yet.
    pCommand->Undo();
    Append(m_queRedo, m_mutexRedo, pCommand);
}

void CUndoStack::Redo()
{
    bool bTaken = false;
    CUndoCommand* pCommand = TakeNewest(m_queRedo, m_mutexRedo, bTaken);
    if (!pCommand)
        return;
    Append(m_queUndo, m_mutexUndo, pCommand);
    pCommand->Redo();
}

int CUndoStack::UndoCount() const
{
    QMutexLocker locker(&m_mutexUndo);
    return static_cast<int>(m_queUndo.size());
}

int CUndoStack::RedoCount() const
{
    QMutexLocker locker(&m_mutexRedo);
    return static_cast<int>(m_queRedo.size());
}

void CUndoStack::Swap(CUndoStack& other)
{
    if (&other == this)
        return;
    {
        QMutexLocker locker(&m_mutexUndo);
        QMutexLocker lockerOther(&other.m_mutexUndo);
        m_queUndo.swap(other.m_queUndo);
    }
    QMutexLocker locker(&m_mutexRedo);
    QMutexLocker lockerOther(&other.m_mutexRedo);
    m_queRedo.swap(other.m_queRedo);
}

void CUndoStack::Clear()
{
    // The commands are deleted by the emptied stack's destructor, outside this stack's locks and in its order.
    CUndoStack removed;
    Swap(removed);
}
