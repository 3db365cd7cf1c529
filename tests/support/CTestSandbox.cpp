#include "CTestSandbox.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

CTestSandbox::CTestSandbox()
{
    m_oldHome = qgetenv("HOME");
    const QString strHome = m_dir.path();
    qputenv("HOME", strHome.toUtf8());
    qputenv("XDG_CONFIG_HOME", (strHome + "/.config").toUtf8());
    qputenv("XDG_DATA_HOME", (strHome + "/.local/share").toUtf8());
    qputenv("XDG_CACHE_HOME", (strHome + "/.cache").toUtf8());
    // Qt wants a private runtime folder; without one it warns on every standard-path lookup.
    const QString strRuntime = strHome + "/.runtime";
    QDir().mkpath(strRuntime);
    QFile::setPermissions(strRuntime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", strRuntime.toUtf8());
}

CTestSandbox::~CTestSandbox()
{
    qputenv("HOME", m_oldHome);
}

QString CTestSandbox::Documents() const
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString CTestSandbox::Path(const QString& strRelative) const
{
    return QDir(m_dir.path()).filePath(strRelative);
}
