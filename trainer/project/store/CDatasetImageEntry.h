#pragma once

#include <QObject>
#include <QString>

#include <memory>

class CDatasetImageListener;
class CDatasetImageRecord;

// One image of a project list: the columns of its dataset_image row and whether the last validation found it valid.
// Held by std::shared_ptr and created without parent; copies of a list share their entries, so a validation result
// is seen through every copy and every tree item that shows the entry.
// A project holds hundreds of thousands of entries: the entry keeps the columns itself, no record, and leaves out the
// stored path when it is the usual one of its name.
class CDatasetImageEntry : public QObject
{
    Q_OBJECT
public:
    // The record may be empty; the entry then answers ID -1 and empty texts. The record is copied, not kept.
    explicit CDatasetImageEntry(const std::shared_ptr<CDatasetImageRecord>& pRecord);
    // The columns of a row as the open reads them, without a record per row.
    CDatasetImageEntry(int nID, const QString& strName, const QString& strFullPath, const QString& strType,
                       unsigned int nWidth, unsigned int nHeight, int nProjectID);
    ~CDatasetImageEntry() override;

    // A record of the entry's columns, made afresh on each call (changing it changes nothing here); empty when the
    // entry was made without record.
    std::shared_ptr<CDatasetImageRecord> GetRecord() const;
    // The record's row ID, -1 without a record.
    int GetImageID() const { return m_nID; }
    // The file name with extension, empty without a record.
    QString GetName() const { return m_strName; }
    // The path relative to the project folder, empty without a record.
    QString GetFullPath() const;
    // The stored size, 0 x 0 without a record; a negative stored size reads as a huge one.
    unsigned int GetWidth() const { return m_nWidth; }
    unsigned int GetHeight() const { return m_nHeight; }

    // False until a validation says otherwise.
    bool IsValid() const { return m_bValid; }
    // Emits signal_ChangeValidation, then tells the listener, unless the result was already known and equal; the
    // first call always tells, even with false, so that a view can leave its "not yet validated" look.
    void SetValidation(bool bValid);

    // The list that holds the entry (not owned; null for none). One listener hears all entries of a list, where a
    // connection per entry would cost more than the entry.
    void SetListener(CDatasetImageListener* pListener) { m_pListener = pListener; }

signals:
    void signal_ChangeValidation();

private:
    QString m_strName;
    // Not kept when it is the usual path of the name (m_bUsualPath): a second string per image would add a quarter
    // to an entry's size.
    QString m_strFullPath;
    // Shared with every other entry of that type for "train" and "test".
    QString m_strType;
    CDatasetImageListener* m_pListener = nullptr;
    int m_nID = -1;
    int m_nProjectID = -1;
    unsigned int m_nWidth = 0;
    unsigned int m_nHeight = 0;
    bool m_bHasRecord = false;
    bool m_bUsualPath = false;
    bool m_bValid = false;
    bool m_bValidationKnown = false;
};
