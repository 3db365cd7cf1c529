#pragma once

#include "frame/CModel.h"
#include "project/store/CDatasetImageListener.h"

#include <QString>

#include <memory>
#include <vector>

class CDatabaseRecord;
class CDatasetImageEntry;

// What the views show of the open project: folder and name, project ID, the training and test image lists and the
// state of the trainer command. It never touches the database or the disk: the project controller fills it, the tree
// and the main window follow its signals. GUI thread only.
//
// Every list operation emits the list's signal once, also in bursts (adding images one by one), so listeners that do
// real work per signal should coalesce.
class CProjectModel : public CModel, private CDatasetImageListener
{
    Q_OBJECT
public:
    using EntryList = std::vector<std::shared_ptr<CDatasetImageEntry>>;

    explicit CProjectModel(QObject* parent = nullptr);
    ~CProjectModel() override;

    // Stores both and emits signal_ChangeProject when either differs from the stored value.
    void SetProject(const QString& strFolder, const QString& strName);
    QString GetProjectDir() const { return m_strProjectDir; }
    QString GetProjectName() const { return m_strProjectName; }
    // The project_training ID; -1 until set. No signal.
    void SetProjectID(int nID) { m_nProjectID = nID; }
    int GetProjectID() const { return m_nProjectID; }

    // Append a new entry for the record and emit the list's signal. A record of another class than
    // CDatasetImageRecord gives an entry without record (ID -1).
    void AddTrainImage(std::shared_ptr<CDatabaseRecord> pRecord);
    void AddTestImage(std::shared_ptr<CDatabaseRecord> pRecord);
    // Append all entries in their order and emit the list's signal once; null entries are left out.
    void AddTrainImages(EntryList vctEntries);
    void AddTestImages(EntryList vctEntries);
    // Empty the list and emit its signal.
    void ClearTrainImages();
    void ClearTestImages();

    // References: a pass over a list of 200,000 images must not copy it first. Valid until the list changes.
    const EntryList& GetTrainImages() const { return m_vctTrainImages; }
    const EntryList& GetTestImages() const { return m_vctTestImages; }
    const EntryList& GetImageList(bool bTrain) const { return bTrain ? m_vctTrainImages : m_vctTestImages; }

    // The first entry with that image ID, empty when there is none.
    std::shared_ptr<CDatasetImageEntry> FindTrainImage(int nID) const;
    std::shared_ptr<CDatasetImageEntry> FindTestImage(int nID) const;

    // Erase the first entry with that ID keeping the others in order, and emit the list's signal; an unknown ID
    // changes nothing and emits nothing.
    void RemoveTrainImage(int nID);
    void RemoveTestImage(int nID);
    // Random order of the training list (fresh seed each call); always emits, even for fewer than two entries.
    void ShuffleTrainImages();
    // Orders the training list by name (case-sensitive, UTF-16 code units), ascending on the first call and
    // alternating afterwards; equal names keep no particular order. Always emits.
    // Only the model's order changes: it is what the next build writes, and it is lost on reopening.
    void SortTrainImages();

    // Stores an ECommandState and emits signal_ChangeCommandState when it differs from the stored one.
    void SetCommandState(int nState);
    int GetCommandState() const { return m_nCommandState; }

    // Only while the command is stopped: empties both lists (without list signals), clears folder and name and emits
    // signal_CloseProject. Otherwise nothing happens. The project ID is kept either way.
    void Close();

signals:
    void signal_ChangeProject();
    void signal_ChangeTrainImageList();
    void signal_ChangeTestImageList();
    void signal_ChangeCommandState();
    void signal_CloseProject();
    // An entry of either list changed its validation, after its own signal_ChangeValidation. Sent per entry (a
    // validation of the project sends one per image), so listeners should coalesce.
    void signal_ChangeImageValidation();

private:
    void ImageValidationChanged(CDatasetImageEntry* pEntry) override;
    std::shared_ptr<CDatasetImageEntry> MakeEntry(const std::shared_ptr<CDatabaseRecord>& pRecord);
    void Append(EntryList& vctList, EntryList&& vctEntries);
    static std::shared_ptr<CDatasetImageEntry> Find(const EntryList& vctList, int nID);
    // Entries that leave the lists no longer reach the listeners of the model.
    static void Detach(const EntryList& vctList);
    static bool Remove(EntryList& vctList, int nID);

    QString m_strProjectName;
    QString m_strProjectDir;
    int m_nProjectID = -1;
    EntryList m_vctTrainImages;
    EntryList m_vctTestImages;
    int m_nCommandState = 0;
    bool m_bSortAscending = true;
};
