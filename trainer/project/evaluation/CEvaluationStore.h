#pragma once

#include "project/evaluation/CEvaluationRecord.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The evaluations kept in a folder (the project's Evaluation folder), one JSON file each, named by
// CProjectLayout::EvaluationFileName after the record's date, so that the names sort oldest first. Files of other names
// are not the store's and are left alone.
class CEvaluationStore
{
public:
    explicit CEvaluationStore(const QString& strFolder);

    // Writes the record whole or not at all (the folder is made if needed); a record of the same millisecond as an
    // existing one gets a numbered name. Returns the file written, or an empty string with the reason in strError.
    QString Save(const CEvaluationRecord& record, QString& strError) const;
    // Up to nCount readable records, newest first. A file that cannot be read or is not a record is passed over; it and
    // its reason are then in Skipped().
    QVector<CEvaluationRecord> LoadNewest(int nCount = 2);
    // "<file name>: <reason>" for each file the last LoadNewest passed over.
    QStringList Skipped() const { return m_lstSkipped; }

private:
    QString m_strFolder;
    QStringList m_lstSkipped;
};
