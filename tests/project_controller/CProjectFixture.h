#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Real project files for the tests: made through the program's own creation path, read and changed through a
// connection of the test's own.
class CProjectFixture
{
public:
    // Creates <parent>/<name> with its Images folder and <name>.data (schema, project row, default configuration) the
    // way the new-project dialog does. Returns the project folder, empty on failure.
    static QString CreateProject(const QString& strParentDir, const QString& strName);
    static QString DataFile(const QString& strProjectDir, const QString& strName);

    // Runs the statements in order on the file; false at the first failure.
    static bool Execute(const QString& strFile, const QStringList& lstStatements);
    // The rows of a select, each as the texts of its columns.
    static QList<QStringList> Query(const QString& strFile, const QString& strSelect);

    // The default network configuration as a new project stores it.
    static QString DefaultConfiguration();
};
