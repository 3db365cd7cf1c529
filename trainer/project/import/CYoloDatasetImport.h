#pragma once

#include <QPointer>
#include <QSet>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class CDatabase;
class CDatasetImageRecord;
class CDatasetScan;
class CProjectModel;
class QWidget;

// Brings a scanned data set (YOLO, Pascal VOC or COCO, see CDatasetFormat) into the open project: each image is copied
// into the "Images" folder (a name taken there gets "_1", "_2", ... before its extension), listed as a training or test
// image and given one dataset_roi row per usable box, in pixels of the image. Class names are matched with the
// project's classes by name; names the project lacks are appended in the data set's order. GUI thread only.
class CYoloDatasetImport
{
public:
    struct SResult
    {
        int nImages = 0;
        int nBoxes = 0;
        // images that could not be copied, read or stored, whose name is no plain file name, or whose size is not the
        // one their annotation states
        int nFailed = 0;
        bool bCancelled = false;
        // Why nothing was imported: see CDatasetScan::Refusal, the class limit, a class name with a control
        // character.
        QString strRefusal;
    };
    // Called before each image with the number done and the total; false cancels the import there.
    using Progress = std::function<bool(int nDone, int nTotal)>;

    // Neither is owned; the model may be deleted first, which ends an import at the next image.
    CYoloDatasetImport(CDatabase* pDatabase, CProjectModel* pModel);

    // Imports every image of the scan in its order. An image counts only with its copy, its row, all its boxes and
    // its list entry together: a cancelled or failed import keeps the images finished before and nothing of the
    // others. Logs "Copy image %s" per image as "Add Images" does.
    SResult Import(const CDatasetScan& scan, const Progress& progress);

    // The "Import Dataset" command for a chosen folder (or COCO file), in the format CDatasetFormat recognises: reads
    // it on a thread of its own under a progress dialog on pParent that can cancel from the start, asks for the share
    // of training images (in percent, 100 by default) when the data set tells no split, imports under the same dialog,
    // then tells what was done in an information box.
    SResult ImportFolder(const QString& strFolder, QWidget* pParent);

    // The text that tells the user what an import did and which label lines it skipped or found doubtful.
    static QString Report(const CDatasetScan& scan, const SResult& result);
    // strName when it is not in taken, else "<base>_<n>.<extension>" with the smallest free n; the result is added to
    // taken.
    static QString FreeName(const QString& strName, QSet<QString>& taken);

private:
    // The project's category ID of every class index of the scan; appends the missing classes in one transaction.
    // Sets strRefusal and adds nothing when the project would hold more than CDatasetScan::kMaxClasses, or when
    // a class name holds a control character.
    bool MatchClasses(const CDatasetScan& scan, std::map<int, int>& mapCategoryIDs, QString& strRefusal);
    // The names in the image folder and in the image table.
    QSet<QString> TakenNames(const QString& strFolder) const;
    // An image whose rows wait in the open transaction.
    struct SPending
    {
        std::shared_ptr<CDatasetImageRecord> pRecord;
        QString strCopy;
        int nBoxes = 0;
    };
    // Commits the waiting images and lists them; when the commit fails their copies go again. True on success.
    bool Commit(std::vector<SPending>& vctPending, SResult& result);

    CDatabase* m_pDatabase = nullptr;
    QPointer<CProjectModel> m_pModel;
};
