#pragma once

#include <QString>

#include <memory>

class QLockFile;

// The lock file that keeps a project open in one window only (CProjectLayout::LockFile). Opening goes in
// two steps: Acquire before the project loads, then Keep or Drop once it has, so that the lock of the project open
// before stays held until the load has closed that project. Release lets the open project's lock go; a lock acquired
// for a load in progress stays until Keep or Drop. Whatever is held is released when this object goes.
class CProjectLock
{
public:
    CProjectLock();
    ~CProjectLock();

    // Takes the lock of the project about to load; the held lock of that same project is taken over as it is. False
    // when a live process holds it. A folder that cannot hold a lock file (read-only, or missing) gives true without a
    // lock: the project then opens unlocked.
    bool Acquire(const QString& strProjectDir, const QString& strProjectName);
    // The load succeeded: the acquired lock (if any) becomes the open project's, replacing the one held before.
    void Keep();
    // The load failed. With bSameProjectOpen (the close before the load was refused and the project still open is the
    // one asked for) a lock taken over by Acquire goes back to it; any other acquired lock is released.
    void Drop(bool bSameProjectOpen);
    // The open project was closed or its files removed.
    void Release();

private:
    std::unique_ptr<QLockFile> m_pHeld;
    QString m_strHeldPath;
    std::unique_ptr<QLockFile> m_pAcquired;
    QString m_strAcquiredPath;
    bool m_bTakenOver = false;
};
