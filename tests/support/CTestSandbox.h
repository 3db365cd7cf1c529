#pragma once

#include <QString>
#include <QTemporaryDir>

// Points HOME and the XDG folders at a fresh temporary folder for the life of the object, so that tests never touch
// the real user's documents. Create it before anything reads standard paths (first thing in initTestCase).
class CTestSandbox
{
public:
    CTestSandbox();
    ~CTestSandbox();

    QString Home() const { return m_dir.path(); }
    // The documents folder as Qt's standard paths give it inside the sandbox.
    QString Documents() const;
    // A path inside the sandbox.
    QString Path(const QString& strRelative) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_oldHome;
};
