#pragma once

#include "project/inference/CDetection.h"

#include <QStringList>
#include <QTreeWidget>
#include <QVector>

// One of the Evaluation dock's lists of images to look at (missed boxes, false detections, suspect labels): a row per
// entry, the image's name first. Each entry keeps the detections it concerns, which a double-click hands on with the
// image key, so the caller can open the image with them as proposals.
class CEvaluationEntryList : public QTreeWidget
{
    Q_OBJECT
public:
    // lstHeaders names the columns after the first, "Image".
    explicit CEvaluationEntryList(const QStringList& lstHeaders, QWidget* pParent = nullptr);

    void ClearEntries();
    // lstColumns gives the texts after the image key.
    void AddEntry(const QString& strImageKey, const QStringList& lstColumns, const CDetectionList& detections);
    int EntryCount() const { return m_vctDetections.size(); }

signals:
    void signal_OpenImage(const QString& strImageKey, const CDetectionList& detections);

private:
    void ItemActivated(QTreeWidgetItem* pItem);

    // By entry, as its row keeps the entry's position; rows may be sorted.
    QVector<CDetectionList> m_vctDetections;
};
