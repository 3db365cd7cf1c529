#pragma once

#include <QObject>
#include <QString>

#include <memory>

class CDatasetImageRecord;

// One image of a project list: its dataset_image record and whether the last validation found it valid.
// Held by std::shared_ptr and created without parent; copies of a list share their entries, so a validation result
// is seen through every copy and every tree item that shows the entry.
class CDatasetImageEntry : public QObject
{
    Q_OBJECT
public:
    // The record may be empty; the entry then answers ID -1 and empty texts.
    explicit CDatasetImageEntry(std::shared_ptr<CDatasetImageRecord> pRecord);
    ~CDatasetImageEntry() override;

    std::shared_ptr<CDatasetImageRecord> GetRecord() const { return m_pRecord; }
    // The record's row ID, -1 without a record.
    int GetImageID() const;
    // The file name with extension, empty without a record.
    QString GetName() const;
    // The path relative to the project folder, empty without a record.
    QString GetFullPath() const;

    // False until a validation says otherwise.
    bool IsValid() const { return m_bValid; }
    // Emits signal_ChangeValidation unless the result was already known and equal; the first call always emits,
    // even with false, so that a view can leave its "not yet validated" look.
    void SetValidation(bool bValid);

signals:
    void signal_ChangeValidation();

private:
    std::shared_ptr<CDatasetImageRecord> m_pRecord;
    bool m_bValid = false;
    bool m_bValidationKnown = false;
};
