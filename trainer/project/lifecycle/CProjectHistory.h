#pragma once

#include <QString>

// The recently opened projects, kept in the setting GENERAL_PROGRAME_HISTORIES: project file paths joined by ";",
// newest first, at most five, without duplicates or empty entries. An empty list is stored as an empty text.
class CProjectHistory
{
public:
    // Puts the path first, dropping an older occurrence of it.
    static void Add(const QString& strProjectFile);
    static void Remove(const QString& strProjectFile);

private:
    static void Write(const QString& strFirstEntry, const QString& strSkippedEntry);
};
