#pragma once

#include <QString>

class CDatabase;
class CProjectLock;
class CProjectModel;
class QWidget;

// Deleting the open project: the question before it, then its files off the disk (see CProjectFolderRemover) with
// the database connection closed and the project's lock released, and the log lines and boxes that tell how it went.
// Closing the project is left to the caller.
class CProjectDeletion
{
public:
    // Nothing is owned. The boxes get pParent (may be null) and strTitle.
    CProjectDeletion(CDatabase* pDatabase, CProjectLock* pLock, QWidget* pParent, const QString& strTitle);

    // "Do you want to delete project %s?", No by default; true on Yes.
    bool Confirm(const QString& strProjectName);
    // Removes the project's files; the image copies to remove are named by the model's training and test lists. When
    // the project file is missing or cannot be removed, the project stays as it was (its database open, its lock
    // held), "Cannot delete project %s" is logged and shown in a critical box, and the result is false. Otherwise the
    // lock is released and the rest removed; each file that could not go is logged ("Failed to remove file %s"), so
    // are the entries that stayed in a shared folder ("Kept in folder %s: %s", sorted), then "Delete project %s OK".
    bool RemoveFiles(const QString& strProjectDir, const QString& strProjectName, const CProjectModel& model);

private:
    bool RemoveFilesQuietly(const QString& strProjectDir, const QString& strProjectName, const CProjectModel& model);

    CDatabase* m_pDatabase = nullptr;
    CProjectLock* m_pLock = nullptr;
    QWidget* m_pParent = nullptr;
    QString m_strTitle;
};
