#include "project/lifecycle/CProjectDeletion.h"

#include "database/CDatabase.h"
#include "frame/CLogger.h"
#include "frame/CPrompt.h"
#include "project/CProjectModel.h"
#include "project/lifecycle/CProjectFolderRemover.h"
#include "project/lifecycle/CProjectLock.h"
#include "project/store/CDatasetImageEntry.h"
#include "project/store/CProjectLayout.h"

#include <QFileInfo>
#include <QStringList>

CProjectDeletion::CProjectDeletion(CDatabase* pDatabase, CProjectLock* pLock, QWidget* pParent, const QString& strTitle)
    : m_pDatabase(pDatabase), m_pLock(pLock), m_pParent(pParent), m_strTitle(strTitle)
{
}

bool CProjectDeletion::Confirm(const QString& strProjectName)
{
    const QMessageBox::StandardButton answer =
        CPrompt::Question(m_pParent, m_strTitle,
                          QString::asprintf("Do you want to delete project %s?", strProjectName.toUtf8().constData()),
                          QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

bool CProjectDeletion::RemoveFiles(const QString& strProjectDir, const QString& strProjectName,
                                   const CProjectModel& model)
{
    if (RemoveFilesQuietly(strProjectDir, strProjectName, model))
        return true;
    const QByteArray baName = strProjectName.toUtf8();
    CLogger::Write(ELogLevel_Error, "Cannot delete project %s", baName.constData());
    CPrompt::Critical(m_pParent, m_strTitle, QString::asprintf("Cannot delete project %s", baName.constData()));
    return false;
}

bool CProjectDeletion::RemoveFilesQuietly(const QString& strProjectDir, const QString& strProjectName,
                                          const CProjectModel& model)
{
    const QString strFilePath = CProjectLayout(strProjectDir, strProjectName).ProjectFile();
    if (!QFileInfo(strFilePath).isFile())
        return false;
    QStringList lstImageNames;
    for (const CProjectModel::EntryList& vctList : {model.GetTrainImages(), model.GetTestImages()})
    {
        for (const std::shared_ptr<CDatasetImageEntry>& pEntry : vctList)
            lstImageNames.append(pEntry->GetName());
    }

    m_pDatabase->Close();
    CProjectFolderRemover remover(strProjectDir, strProjectName, lstImageNames);
    if (!remover.RemoveProjectFile())
    {
        // Nothing was removed: the project goes on as it was, still locked.
        m_pDatabase->OpenDatabase("localhost", strFilePath, "", "");
        return false;
    }
    m_pLock->Release();
    remover.RemoveRest();
    for (const QString& strPath : remover.Failed())
        CLogger::Write(ELogLevel_Error, "Failed to remove file %s", strPath.toUtf8().constData());
    QStringList lstKept = remover.Kept();
    lstKept.sort();
    if (!lstKept.isEmpty())
        CLogger::Write(ELogLevel_Warning, "Kept in folder %s: %s", strProjectDir.toUtf8().constData(),
                       lstKept.join(", ").toUtf8().constData());
    CLogger::Write(ELogLevel_Normal, "Delete project %s OK", strProjectName.toUtf8().constData());
    return true;
}
