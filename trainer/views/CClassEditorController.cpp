#include "views/CClassEditorController.h"

#include "database/CDatabase.h"
#include "database/CDatabaseRecord.h"
#include "frame/CPrompt.h"
#include "frame/CSetting.h"
#include "project/classes/CClassColours.h"
#include "project/classes/CClassDeletion.h"
#include "project/classes/CProjectCategories.h"
#include "project/store/CCategoryRecord.h"
#include "project/store/CSafeName.h"
#include "views/CClassEditorView.h"

#include <QStringList>

#include <memory>
#include <vector>

CClassEditorController::CClassEditorController(CClassEditorView* pView, CDatabase* pDatabase, QObject* parent)
    : CTableEditorController(pView, pDatabase, CCategoryRecord::TABLE_NAME, CCategoryRecord::COLUMN_NAME, "class",
                             parent),
      m_pView(pView)
{
    if (!m_pView)
        return;
    connect(m_pView, &CClassEditorView::signal_Update, this, &CClassEditorController::Update);
    connect(m_pView, &CClassEditorView::signal_Insert, this, &CClassEditorController::Insert);
    connect(m_pView, &CClassEditorView::signal_Delete, this, &CClassEditorController::Delete);
}

void CClassEditorController::Load()
{
    if (!IsReady())
        return;
    const CProjectCategories categories(GetDatabase());
    const QStringList lstNames = categories.Names();
    std::vector<CClassEditorView::SRow> vctRows;
    vctRows.reserve(categories.IDs().size());
    for (int i = 0; i < categories.Count(); ++i)
        vctRows.push_back({categories.IDs()[static_cast<size_t>(i)], lstNames[i], CClassColours::OfIndex(i)});
    m_pView->SetData(vctRows);
}

void CClassEditorController::Insert(const QString& strName)
{
    auto pRecord = std::make_shared<CCategoryRecord>();
    pRecord->SetName(strName);
    InsertRow(pRecord, strName);
}

void CClassEditorController::Update(int nID, const QString& strName)
{
    UpdateRow(nID, strName, {{CCategoryRecord::COLUMN_NAME, strName}});
}

void CClassEditorController::Delete(int nID)
{
    if (!IsReady())
        return;
    const CClassDeletion deletion(GetDatabase());
    CClassDeletion::SUse use;
    // Not knowing whether boxes name the class, deleting it could leave them naming nothing.
    if (!deletion.Use(nID, use))
    {
        Refuse("delete", NameOf(nID), nID);
        return;
    }
    if (use.nBoxes > 0)
    {
        int nMoveToID = -1;
        if (!AskForBoxes(nID, use.nBoxes, use.nImages, nMoveToID))
            return;
        if (!deletion.Delete(nID, nMoveToID))
        {
            Refuse("delete", NameOf(nID), nID);
            return;
        }
        Load();
        emit m_pView->signal_ClassBoxesChanged();
        emit m_pView->signal_CheckValidateROI();
        return;
    }
    // Stored proposals of the class go with it in one transaction; without any, the row alone goes as ever.
    if (use.nProposals == 0)
    {
        if (DeleteRow(nID))
            emit m_pView->signal_CheckValidateROI();
        return;
    }
    if (!deletion.Delete(nID, -1))
    {
        Refuse("delete", NameOf(nID), nID);
        return;
    }
    Load();
    emit m_pView->signal_CheckValidateROI();
}

bool CClassEditorController::AskForBoxes(int nID, int nBoxes, int nImages, int& nMoveToID)
{
    const CProjectCategories categories(GetDatabase());
    const QStringList lstNames = categories.Names();
    const QString strName = categories.NameOf(nID);
    QStringList lstChoices("Delete the boxes too");
    std::vector<int> vctMoveTo(1, -1);
    for (int i = 0; i < categories.Count(); ++i)
    {
        const int nOtherID = categories.IDs()[static_cast<size_t>(i)];
        if (nOtherID == nID)
            continue;
        lstChoices.append(QString("Move the boxes to %1").arg(lstNames[i]));
        vctMoveTo.push_back(nOtherID);
    }
    const QString strText =
        QString::asprintf("Class %s is used by %d boxes on %d images", strName.toUtf8().constData(), nBoxes, nImages);
    bool bOk = false;
    const QString strChoice = CPrompt::GetItem(m_pView, CSetting::GetString("GENERAL_PROGRAME_NAME", "OvrelTrainer"),
                                               strText, lstChoices, 0, false, &bOk);
    const int nChoice = lstChoices.indexOf(strChoice);
    if (!bOk || nChoice < 0)
        return false;
    nMoveToID = vctMoveTo[static_cast<size_t>(nChoice)];
    return true;
}

QString CClassEditorController::NameOf(int nID) const
{
    return CProjectCategories(GetDatabase()).NameOf(nID);
}

bool CClassEditorController::AcceptsName(const QString& strName)
{
    // A newline would make the trainer's class list longer than its class count and shift every later class.
    const QString strProblem = CSafeName::ClassNameProblem(strName);
    if (strProblem.isEmpty())
        return true;
    Warn(QString("Cannot save class %1: %2").arg(CSafeName::Shown(strName), strProblem));
    return false;
}
