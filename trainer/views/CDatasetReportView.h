#pragma once

#include <QWidget>

class CDatasetReport;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// The "Dataset Report" dock's content: the image and box totals, a table of the classes with their boxes and images,
// and a tree of the flaws (title and count) with the images concerned below each. Every column is as wide as its text,
// so a narrow dock scrolls rather than cutting names short. Double-clicking an image asks for it to be opened.
class CDatasetReportView : public QWidget
{
    Q_OBJECT
public:
    explicit CDatasetReportView(QWidget* pParent = nullptr);

    // Shows the report, replacing the one shown before. Flaws that were not found are listed with count 0 and no
    // images.
    void SetReport(const CDatasetReport& report);

    QTreeWidget* GetClassTree() const { return m_pClasses; }
    QTreeWidget* GetFlawTree() const { return m_pFlaws; }
    QString GetSummary() const;

signals:
    // The image's dataset_image ID and its path relative to the project folder.
    void signal_OpenImageFile(int nImageID, const QString& strFilePath);

private:
    void OnDoubleClicked(QTreeWidgetItem* pItem);

    QLabel* m_pSummary = nullptr;
    QTreeWidget* m_pClasses = nullptr;
    QTreeWidget* m_pFlaws = nullptr;
};
