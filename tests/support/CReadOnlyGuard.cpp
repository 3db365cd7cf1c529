#include "CReadOnlyGuard.h"

#include <QFile>
#include <QProcess>

#include <unistd.h>

namespace
{
bool Chattr(const QString& strFlag, const QString& strPath)
{
    return QProcess::execute("chattr", {strFlag, strPath}) == 0;
}
} // namespace

CReadOnlyGuard::CReadOnlyGuard(const QString& strPath) : m_strPath(strPath)
{
    if (geteuid() == 0)
        m_bActive = m_bImmutable = Chattr("+i", m_strPath);
    else
        m_bActive = QFile::setPermissions(m_strPath, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                                         QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
}

CReadOnlyGuard::~CReadOnlyGuard()
{
    if (m_bImmutable)
        Chattr("-i", m_strPath);
    else if (m_bActive)
        QFile::setPermissions(m_strPath, QFile::permissions(m_strPath) | QFile::WriteOwner);
}
