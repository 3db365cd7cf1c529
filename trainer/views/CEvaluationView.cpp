#include "views/CEvaluationView.h"

#include "project/evaluation/CEvaluationComparison.h"
#include "views/CEvaluationClassTable.h"
#include "views/CEvaluationEntryList.h"
#include "views/CPrecisionRecallChart.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace
{
const char* const MISSED_TITLE = "Missed boxes";
const char* const FALSE_TITLE = "False detections";
const char* const SUSPECT_TITLE = "Suspect labels";

QString Figure(double dblValue)
{
    return QString::number(dblValue, 'f', 3);
}

QString BoxText(const QRectF& box)
{
    return QString("%1, %2  %3 x %4")
        .arg(qRound(box.x()))
        .arg(qRound(box.y()))
        .arg(qRound(box.width()))
        .arg(qRound(box.height()));
}

QString Score(float fScore)
{
    return QString::number(double(fScore), 'f', 2);
}
} // namespace

CEvaluationView::CEvaluationView(QWidget* pParent) : QWidget(pParent)
{
    m_pHeader = new QLabel(this);
    m_pHeader->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pHeader->setWordWrap(true);
    m_pTable = new CEvaluationClassTable(this);
    m_pChart = new CPrecisionRecallChart(this);
    m_pMissed = new CEvaluationEntryList({"Class", "Box"}, this);
    m_pFalse = new CEvaluationEntryList({"Class", "Score", "Box"}, this);
    m_pSuspects = new CEvaluationEntryList({"Problem", "Box class", "Detected class", "Score"}, this);
    m_pListTabs = new QTabWidget(this);
    m_pListTabs->addTab(m_pMissed, MISSED_TITLE);
    m_pListTabs->addTab(m_pFalse, FALSE_TITLE);
    m_pListTabs->addTab(m_pSuspects, SUSPECT_TITLE);
    m_pCheckButton = new QPushButton("Check Training Labels", this);
    m_pCheckButton->setToolTip("Looks for suspect labels on the training list with the trained model");
    m_pStatus = new QLabel(this);

    auto* pSplitter = new QSplitter(Qt::Vertical, this);
    pSplitter->setObjectName("Evaluation Splitter");
    pSplitter->addWidget(m_pTable);
    pSplitter->addWidget(m_pChart);
    pSplitter->addWidget(m_pListTabs);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(m_pHeader);
    pLayout->addWidget(pSplitter, 1);
    auto* pStatusRow = new QHBoxLayout;
    pStatusRow->addWidget(m_pStatus, 1);
    pStatusRow->addWidget(m_pCheckButton);
    pLayout->addLayout(pStatusRow);

    for (CEvaluationEntryList* pList : {m_pMissed, m_pFalse, m_pSuspects})
        connect(pList, &CEvaluationEntryList::signal_OpenImage, this, &CEvaluationView::signal_OpenImage);
    connect(m_pTable, &CEvaluationClassTable::signal_ClassChosen, m_pChart, &CPrecisionRecallChart::Emphasise);
    connect(m_pCheckButton, &QPushButton::clicked, this, &CEvaluationView::signal_CheckTrainingLabels);
    Clear();
}

void CEvaluationView::Clear()
{
    m_lstClassNames.clear();
    m_pHeader->setText("No evaluation yet.");
    m_pTable->ClearClasses();
    m_pChart->Clear();
    for (CEvaluationEntryList* pList : {m_pMissed, m_pFalse, m_pSuspects})
        pList->ClearEntries();
    m_pStatus->clear();
    UpdateTabTitles();
}

void CEvaluationView::ShowEvaluation(const CEvaluationResult& result, const CDoubtfulLabelList& suspects,
                                     const CEvaluationRecord& newest, const CEvaluationRecord* previous)
{
    m_lstClassNames.clear();
    for (const CClassFigures& figures : result.Classes)
        m_lstClassNames.append(figures.Name);

    QStringList lstHeader;
    lstHeader << QString("Weights: %1   Date: %2")
                     .arg(newest.WeightsPath.isEmpty() ? QString("-") : newest.WeightsPath,
                          newest.Date.toString("yyyy-MM-dd HH:mm:ss"));
    lstHeader << QString("Threshold: %1   Images: %2").arg(Figure(result.ScoreThreshold)).arg(result.ImageCount);
    lstHeader << QString("mAP@0.5: %1   mAP@0.5:0.95: %2   (%3 of %4 classes have boxes)")
                     .arg(Figure(result.MeanAP50), Figure(result.MeanAP50To95))
                     .arg(result.ClassesInMean)
                     .arg(result.Classes.size());
    lstHeader << QString("Precision: %1   Recall: %2   F1: %3   TP: %4   FP: %5   Missed: %6")
                     .arg(Figure(result.Precision), Figure(result.Recall), Figure(result.F1))
                     .arg(result.TruePositives)
                     .arg(result.FalsePositives)
                     .arg(result.Missed);
    if (result.OutsideTable > 0)
        lstHeader << QString("%1 boxes or detections had a class outside the class table and were left out.")
                         .arg(result.OutsideTable);
    if (previous)
        lstHeader << QString("Compared with the evaluation of %1.").arg(previous->Date.toString("yyyy-MM-dd HH:mm:ss"));
    m_pHeader->setText(lstHeader.join('\n'));

    m_pTable->SetClasses(result.Classes,
                         previous ? CEvaluationComparison::Compare(newest, *previous) : QVector<CClassChange>());
    m_pChart->SetCurves(result.Classes, result.Curves);

    m_pMissed->ClearEntries();
    m_pFalse->ClearEntries();
    for (const CImageEvaluation& image : result.Images)
    {
        // A missed box concerns no detection; the image's unmatched ones are offered, as one of them may be the box's
        // object under another class or a loose box.
        for (const CLabelledBox& box : image.MissedBoxes)
            m_pMissed->AddEntry(image.ImageKey, {ClassName(box.ClassIndex), BoxText(box.Box)}, image.FalseDetections);
        for (const CDetection& detection : image.FalseDetections)
            m_pFalse->AddEntry(image.ImageKey,
                               {ClassName(detection.ClassIndex), Score(detection.Score), BoxText(detection.Box)},
                               {detection});
    }
    FillSuspects(suspects);
    m_pStatus->setText(QString("Evaluated %1 images.").arg(result.ImageCount));
    emit signal_Shown();
}

void CEvaluationView::ShowSuspects(const CDoubtfulLabelList& suspects, const QStringList& lstClassNames)
{
    m_lstClassNames = lstClassNames;
    FillSuspects(suspects);
    m_pListTabs->setCurrentWidget(m_pSuspects);
    m_pStatus->setText(QString("Training list: %1 suspect labels.").arg(suspects.size()));
    emit signal_Shown();
}

void CEvaluationView::FillSuspects(const CDoubtfulLabelList& suspects)
{
    m_pSuspects->ClearEntries();
    for (const CDoubtfulLabel& suspect : suspects)
    {
        const bool bBox = suspect.BoxIndex >= 0;
        const bool bDetection = suspect.DetectionIndex >= 0;
        m_pSuspects->AddEntry(suspect.ImageKey,
                              {RuleText(suspect.Rule), bBox ? ClassName(suspect.Box.ClassIndex) : QString(),
                               bDetection ? ClassName(suspect.Detection.ClassIndex) : QString(),
                               bDetection ? Score(suspect.Detection.Score) : QString()},
                              bDetection ? CDetectionList{suspect.Detection} : CDetectionList());
    }
    UpdateTabTitles();
}

void CEvaluationView::UpdateTabTitles()
{
    m_pListTabs->setTabText(m_pListTabs->indexOf(m_pMissed),
                            QString("%1 (%2)").arg(MISSED_TITLE).arg(m_pMissed->EntryCount()));
    m_pListTabs->setTabText(m_pListTabs->indexOf(m_pFalse),
                            QString("%1 (%2)").arg(FALSE_TITLE).arg(m_pFalse->EntryCount()));
    m_pListTabs->setTabText(m_pListTabs->indexOf(m_pSuspects),
                            QString("%1 (%2)").arg(SUSPECT_TITLE).arg(m_pSuspects->EntryCount()));
}

void CEvaluationView::SetStatus(const QString& strStatus)
{
    m_pStatus->setText(strStatus);
}

void CEvaluationView::SetCheckEnabled(bool bEnabled)
{
    m_pCheckButton->setEnabled(bEnabled);
}

QString CEvaluationView::RuleText(EDoubtRule eRule)
{
    switch (eRule)
    {
    case EDoubtRule_WrongClass:
        return "probably the wrong class";
    case EDoubtRule_MissingBox:
        return "probably a missing box";
    case EDoubtRule_SloppyBox:
        return "probably a wrong or sloppy box";
    }
    return QString();
}

QString CEvaluationView::HeaderText() const
{
    return m_pHeader->text();
}

QString CEvaluationView::StatusText() const
{
    return m_pStatus->text();
}

CEvaluationEntryList* CEvaluationView::GetList(EList eList) const
{
    switch (eList)
    {
    case EList_Missed:
        return m_pMissed;
    case EList_False:
        return m_pFalse;
    case EList_Suspect:
        return m_pSuspects;
    }
    return nullptr;
}

QString CEvaluationView::ClassName(int nClassIndex) const
{
    return nClassIndex >= 0 && nClassIndex < m_lstClassNames.size() ? m_lstClassNames.at(nClassIndex)
                                                                    : QString("class %1").arg(nClassIndex);
}
