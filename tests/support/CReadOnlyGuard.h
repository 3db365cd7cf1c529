#pragma once

#include <QString>

// Makes a file or folder unchangeable for the life of the object, also for root (whom permission bits do not stop:
// the immutable attribute does), and restores it afterwards so that the sandbox can be cleaned up.
class CReadOnlyGuard
{
public:
    explicit CReadOnlyGuard(const QString& strPath);
    ~CReadOnlyGuard();
    CReadOnlyGuard(const CReadOnlyGuard&) = delete;
    CReadOnlyGuard& operator=(const CReadOnlyGuard&) = delete;

    // False when the file system offered no way to protect the path; the test should then be skipped.
    bool IsActive() const { return m_bActive; }

private:
    QString m_strPath;
    bool m_bActive = false;
    bool m_bImmutable = false;
};
