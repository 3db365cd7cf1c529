#include "project/lifecycle/CProjectLock.h"

#include "project/store/CProjectLayout.h"

#include <QLockFile>

CProjectLock::CProjectLock() = default;

CProjectLock::~CProjectLock() = default;

bool CProjectLock::Acquire(const QString& strProjectDir, const QString& strProjectName)
{
    m_strAcquiredPath = CProjectLayout(strProjectDir, strProjectName).LockFile();
    // Reopening the project this window holds keeps its lock through the close that comes first.
    m_bTakenOver = m_pHeld && m_strHeldPath == m_strAcquiredPath;
    if (m_bTakenOver)
    {
        m_pAcquired = std::move(m_pHeld);
        return true;
    }
    m_pAcquired = std::make_unique<QLockFile>(m_strAcquiredPath);
    // Never stale by age: a window may keep a project open for days. A lock left by a dead process is taken over.
    m_pAcquired->setStaleLockTime(0);
    if (m_pAcquired->tryLock(0))
        return true;
    const bool bHeldElsewhere = m_pAcquired->error() == QLockFile::LockFailedError;
    // A folder that cannot hold a lock file (read-only, or missing) opens unlocked or fails on its own terms.
    m_pAcquired.reset();
    return !bHeldElsewhere;
}

void CProjectLock::Keep()
{
    m_pHeld = std::move(m_pAcquired);
    m_strHeldPath = m_strAcquiredPath;
}

void CProjectLock::Drop(bool bSameProjectOpen)
{
    // A refused close leaves that same project open: it keeps its lock.
    if (m_bTakenOver && bSameProjectOpen)
        m_pHeld = std::move(m_pAcquired);
    m_pAcquired.reset();
}

void CProjectLock::Release()
{
    m_pHeld.reset();
}
