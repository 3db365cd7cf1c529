#pragma once

#include "project/store/CProjectLayout.h"

#include <QString>
#include <QStringList>

// Takes a deleted project's files off the disk. The project file goes first: when it cannot be removed nothing else
// is touched, so the project can stay open. The folder itself goes only when it holds nothing but what the program
// puts there; a project file kept in a folder of other things (a home folder, say) leaves those things where they are
// and takes only its own files along.
class CProjectFolderRemover
{
public:
    // lstImageNames: the NAMEs of the project's dataset images, whose copies and label files sit in "Images".
    CProjectFolderRemover(const QString& strProjectDir, const QString& strProjectName,
                          const QStringList& lstImageNames);

    // The project file goes first, with the database closed; when it cannot go, nothing else may.
    bool RemoveProjectFile();
    // Everything else of the project, with the lock released.
    void RemoveRest();

    bool FolderRemoved() const { return m_bFolderRemoved; }
    // Top-level entries that stayed, by name: those that were not the project's, and "Images" or "Backup" when they
    // held more than the project's files.
    QStringList Kept() const { return m_lstKept; }
    // Paths of the project's own files that could not be removed.
    QStringList Failed() const { return m_lstFailed; }

private:
    void RemoveFile(const QString& strPath);
    // Removes the named files of a subfolder, then the subfolder when that left it empty.
    void RemoveFromSubfolder(const QString& strSubfolder, const QStringList& lstNames);

    CProjectLayout m_layout;
    QStringList m_lstImageNames;
    bool m_bFolderRemoved = false;
    QStringList m_lstKept;
    QStringList m_lstFailed;
};
