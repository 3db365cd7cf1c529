#pragma once

#include "project/evaluation/CDoubtfulLabel.h"
#include "project/evaluation/CEvaluationRecord.h"
#include "project/evaluation/CEvaluationResult.h"
#include "project/inference/CDetection.h"

#include <QStringList>
#include <QWidget>

class CEvaluationClassTable;
class CEvaluationEntryList;
class CPrecisionRecallChart;
class QLabel;
class QPushButton;
class QTabWidget;

// The "Evaluation" dock's content: a header with the evaluation's weights, date, threshold, image count and overall
// figures; the table per class with the change against the previous evaluation; the precision-recall curves, the class
// chosen in the table drawn over the others; and three lists of images to look at: missed boxes, false detections and
// suspect labels. Double-clicking an entry of a list asks, by signal_OpenImage, for its image to be opened with the
// entry's detections as proposals. The view only shows what it is given; it runs nothing itself.
class CEvaluationView : public QWidget
{
    Q_OBJECT
public:
    enum EList
    {
        EList_Missed,
        EList_False,
        EList_Suspect,
    };

    explicit CEvaluationView(QWidget* pParent = nullptr);

    // Shows an evaluation: newest is the record saved of result (weights, date), previous the one before it, if any.
    // The suspect labels are those found on the same images.
    void ShowEvaluation(const CEvaluationResult& result, const CDoubtfulLabelList& suspects,
                        const CEvaluationRecord& newest, const CEvaluationRecord* previous);
    // Shows the suspect labels of the training list in place of the suspect list and raises it; the class table gives
    // the class names (class index = position).
    void ShowSuspects(const CDoubtfulLabelList& suspects, const QStringList& lstClassNames);
    void Clear();
    // The line under the lists, for the caller's progress and outcome.
    void SetStatus(const QString& strStatus);
    // Whether "Check Training Labels" can be pressed (not while a check or an evaluation runs).
    void SetCheckEnabled(bool bEnabled);

    // The words of a suspect-label rule as the list shows them ("probably the wrong class").
    static QString RuleText(EDoubtRule eRule);

    QString HeaderText() const;
    QString StatusText() const;
    CEvaluationClassTable* GetClassTable() const { return m_pTable; }
    CPrecisionRecallChart* GetChart() const { return m_pChart; }
    CEvaluationEntryList* GetList(EList eList) const;
    QTabWidget* GetListTabs() const { return m_pListTabs; }
    QPushButton* GetCheckButton() const { return m_pCheckButton; }

signals:
    // An entry was double-clicked: strImageKey is the image's key as the evaluation was fed with it (its name), the
    // detections those of that image the entry concerns.
    void signal_OpenImage(const QString& strImageKey, const CDetectionList& detections);
    // "Check Training Labels" was pressed.
    void signal_CheckTrainingLabels();
    // An evaluation or a suspect list was put on show, so the dock holding the view can come forward.
    void signal_Shown();

private:
    void FillSuspects(const CDoubtfulLabelList& suspects);
    void UpdateTabTitles();
    QString ClassName(int nClassIndex) const;

    QLabel* m_pHeader = nullptr;
    CEvaluationClassTable* m_pTable = nullptr;
    CPrecisionRecallChart* m_pChart = nullptr;
    QTabWidget* m_pListTabs = nullptr;
    CEvaluationEntryList* m_pMissed = nullptr;
    CEvaluationEntryList* m_pFalse = nullptr;
    CEvaluationEntryList* m_pSuspects = nullptr;
    QPushButton* m_pCheckButton = nullptr;
    QLabel* m_pStatus = nullptr;
    // The class table the lists name classes by.
    QStringList m_lstClassNames;
};
