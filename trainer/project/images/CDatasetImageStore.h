#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>

class CDatabase;
class CProjectModel;
class QWidget;

// Adds images to the open project and removes them again: their copies in the project's "Images" folder, their
// dataset_image rows (on removal also their dataset_roi rows and label files) and the entries of the model's training
// or test list. GUI thread only; the project controller's image slots hand their work to it.
class CDatasetImageStore
{
public:
    // Neither is owned. The model may be deleted first: nothing is done then.
    CDatasetImageStore(CDatabase* pDatabase, CProjectModel* pModel);

    // Copies each file into the image folder and lists it as a "train" (otherwise "test") image, in the given order.
    // A file is skipped, with an error line, when its name is no plain file name ("Cannot add image %s: %s", see
    // CSafeName), when its name is taken in the folder ("File %s is already exists"), when it cannot be copied,
    // decoded or stored; a copy made for a skipped file is removed again, and nothing that was in
    // the folder before is ever touched. Files are decoded on several threads, yet the log lines, rows and list
    // entries come exactly as one file after the other gives them. Events are processed while a decode is waited
    // for; a progress dialog on pProgressParent, shown once the add takes more than half a second, can cancel it:
    // the files added by then stay, the others are not touched. Returns the number of files added.
    int AddImages(const QStringList& lstPaths, const QString& strType, QWidget* pProgressParent);

    // Removes the image with that ID from the list of its type ("train", otherwise "test"): its copy and label file,
    // its row together with its ROI rows (in one transaction), its list entry; logs "Remove file %s". True when the
    // image was removed. False with nothing changed when the ID is not in that list (nothing logged), when a file
    // exists but cannot be removed ("Failed to remove file %s") or when the rows cannot be deleted. A missing copy or
    // label file is logged ("File %s not found") and does not stop the removal. An image whose name is no plain file
    // name or whose stored path is not "Images/<name>" loses its rows and entry but no file ("Image %s is no file of
    // the Images folder: no file removed").
    bool RemoveImage(int nImageID, const QString& strType);

    // The open project's "Images" folder; empty while no project is open.
    QString ImageFolder() const;

private:
    CDatabase* m_pDatabase = nullptr;
    QPointer<CProjectModel> m_pModel;
    // Events are processed during an add: a second add or a removal that arrives meanwhile is refused.
    bool m_bBusy = false;
};
