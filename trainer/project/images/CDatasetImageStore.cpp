#include "project/images/CDatasetImageStore.h"

#include "database/CDatabase.h"
#include "frame/CLogger.h"
#include "project/CProjectModel.h"
#include "project/images/CImageDecodeQueue.h"
#include "project/proposals/CProposalStore.h"
#include "project/store/CDatasetImageEntry.h"
#include "project/store/CDatasetImageRecord.h"
#include "project/store/CDatasetROIRecord.h"
#include "project/store/CProjectLayout.h"
#include "project/store/CSafeName.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>

#include <memory>
#include <vector>

namespace
{
QByteArray Utf8(const QString& strText)
{
    return strText.toUtf8();
}

// Files moved out of the way under hidden names in their own folder, so that a removal can still be taken back
// when a later step fails. A move and a removal need the same rights, so a file that moves can also be removed.
class CFilesSetAside
{
public:
    bool Move(const QString& strPath)
    {
        const QFileInfo info(strPath);
        QString strAside;
        for (int n = 0; strAside.isEmpty() || QFileInfo::exists(strAside) || QFileInfo(strAside).isSymLink(); ++n)
            strAside = info.path() + QDir::separator() + "." + info.fileName() + QString(".removing%1").arg(n);
        if (!QFile::rename(strPath, strAside))
            return false;
        m_vctMoved.emplace_back(strPath, strAside);
        return true;
    }
    void Restore()
    {
        for (const auto& moved : m_vctMoved)
        {
            if (!QFile::rename(moved.second, moved.first))
                CLogger::Write(ELogLevel_Error, "Cannot restore file %s", Utf8(moved.first).constData());
        }
        m_vctMoved.clear();
    }
    void Remove()
    {
        for (const auto& moved : m_vctMoved)
        {
            if (!QFile::remove(moved.second))
                CLogger::Write(ELogLevel_Error, "Failed to remove file %s", Utf8(moved.second).constData());
        }
        m_vctMoved.clear();
    }

private:
    std::vector<std::pair<QString, QString>> m_vctMoved;
};
} // namespace

CDatasetImageStore::CDatasetImageStore(CDatabase* pDatabase, CProjectModel* pModel)
    : m_pDatabase(pDatabase), m_pModel(pModel)
{
}

QString CDatasetImageStore::ImageFolder() const
{
    if (!m_pModel || m_pModel->GetProjectDir().isEmpty())
        return QString();
    return CProjectLayout(m_pModel->GetProjectDir()).ImagesFolder();
}

int CDatasetImageStore::AddImages(const QStringList& lstPaths, const QString& strType, QWidget* pProgressParent)
{
    if (m_bBusy || !m_pDatabase || !m_pModel || m_pModel->GetProjectDir().isEmpty() || lstPaths.isEmpty())
        return 0;
    const QString strProjectDir = m_pModel->GetProjectDir();
    const QString strFolder = ImageFolder();
    // mkdir, not mkpath: a project folder that has gone is not made up again.
    if (!QFileInfo(strFolder).isDir() && !QDir(strProjectDir).mkdir(CProjectLayout::IMAGES_FOLDER))
    {
        // Nothing can be added: the user must learn why.
        CLogger::Write(ELogLevel_Error, "Cannot create folder %s", Utf8(strFolder).constData());
        return 0;
    }
    const int nProjectID = m_pModel->GetProjectID();
    const bool bTrain = strType == QLatin1String("train");

    // A name already taken stays taken (the loop removes only its own copies): those files need no decoding.
    QStringList lstNames;
    QStringList lstToDecode;
    for (const QString& strPath : lstPaths)
    {
        const QString strNative = QDir::toNativeSeparators(strPath);
        lstNames.append(strNative.mid(strNative.lastIndexOf(QDir::separator()) + 1));
        const bool bRefused = !CSafeName::ImageNameProblem(lstNames.last()).isEmpty();
        lstToDecode.append(bRefused || QFileInfo::exists(strFolder + QDir::separator() + lstNames.last()) ? QString()
                                                                                                          : strPath);
    }

    m_bBusy = true;
    // Held through a guard: the parent may take the dialog along while events are processed.
    QPointer<QProgressDialog> pProgress = new QProgressDialog(
        QStringLiteral("Adding images..."), QStringLiteral("Cancel"), 0, lstPaths.size(), pProgressParent);
    pProgress->setWindowTitle(QStringLiteral("Add Images"));
    pProgress->setWindowModality(Qt::WindowModal);
    pProgress->setMinimumDuration(500);
    pProgress->setAutoClose(false);
    pProgress->setAutoReset(false);
    // The window repaints while a decode is waited for. Until the dialog shows, clicks and keys wait, since nothing
    // modal keeps them from the window yet.
    const auto waiting = [&pProgress]
    {
        const bool bShown = pProgress && pProgress->isVisible();
        QCoreApplication::processEvents(bShown ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    };

    int nAdded = 0;
    CImageDecodeQueue queue(lstToDecode);
    for (int i = 0; i < lstPaths.size(); ++i)
    {
        if (!pProgress || pProgress->wasCanceled())
            break;
        pProgress->setValue(i);
        if (!pProgress || pProgress->wasCanceled())
            break;
        const QString& strName = lstNames[i];
        const QByteArray baName = Utf8(strName);
        const QString strTarget = strFolder + QDir::separator() + strName;
        // A file name may hold a newline: it would split its line in train.txt.
        const QString strNameProblem = CSafeName::ImageNameProblem(strName);
        if (!strNameProblem.isEmpty())
        {
            CLogger::Write(ELogLevel_Error, "Cannot add image %s: %s", Utf8(CSafeName::Shown(strName)).constData(),
                           Utf8(strNameProblem).constData());
            continue;
        }
        if (QFileInfo::exists(strTarget))
        {
            CLogger::Write(ELogLevel_Error, "File %s is already exists", baName.constData());
            continue;
        }
        if (!QFile::copy(lstPaths[i], strTarget))
        {
            CLogger::Write(ELogLevel_Error, "Cannot copy image %s", baName.constData());
            continue;
        }
        CLogger::Write(ELogLevel_Normal, "Copy image %s", baName.constData());

        const CImageDecodeQueue::SResult decoded = queue.Take(i, waiting);
        if (!m_pModel || m_pModel->GetProjectDir() != strProjectDir)
        {
            // The project went away while the file was decoded.
            QFile::remove(strTarget);
            break;
        }
        if (!decoded.bLoaded)
        {
            // A copy without row would block the same name, also once the file is mended.
            QFile::remove(strTarget);
            CLogger::Write(ELogLevel_Error, "Cannot load image %s", baName.constData());
            continue;
        }
        auto pRecord = std::make_shared<CDatasetImageRecord>();
        pRecord->SetName(strName);
        pRecord->SetFullPath(CProjectLayout::StoredImagePath(strName));
        pRecord->SetType(bTrain ? QStringLiteral("train") : QStringLiteral("test"));
        pRecord->SetWidth(decoded.nWidth);
        pRecord->SetHeight(decoded.nHeight);
        pRecord->SetProjectID(nProjectID);
        if (!m_pDatabase->InsertToTable(pRecord))
        {
            QFile::remove(strTarget);
            CLogger::Write(ELogLevel_Error, "Cannot insert image %s", baName.constData());
            continue;
        }
        if (bTrain)
            m_pModel->AddTrainImage(pRecord);
        else
            m_pModel->AddTestImage(pRecord);
        ++nAdded;
    }
    delete pProgress;
    m_bBusy = false;
    return nAdded;
}

bool CDatasetImageStore::RemoveImage(int nImageID, const QString& strType)
{
    if (m_bBusy || !m_pModel || !m_pDatabase)
        return false;
    const bool bTrain = strType == QLatin1String("train");
    const std::shared_ptr<CDatasetImageEntry> pEntry =
        bTrain ? m_pModel->FindTrainImage(nImageID) : m_pModel->FindTestImage(nImageID);
    if (!pEntry)
        return false;
    const QString strImagePath = m_pModel->GetProjectDir() + QDir::separator() + pEntry->GetFullPath();
    const QString strLabelPath = CProjectLayout(m_pModel->GetProjectDir()).LabelFile(pEntry->GetName());
    // A project file from elsewhere may name a file outside the Images folder ("../../x"): the row and its entry go,
    // no file is touched.
    QStringList lstPaths;
    if (CSafeName::IsImagePath(pEntry->GetName(), pEntry->GetFullPath()))
        lstPaths = QStringList({strImagePath, strLabelPath});
    else
        CLogger::Write(ELogLevel_Error, "Image %s is no file of the Images folder: no file removed",
                       Utf8(CSafeName::Shown(pEntry->GetName())).constData());

    // The files are set aside first and removed only once the rows are gone: whichever step fails, the image keeps
    // its files, its rows and its entry together.
    CFilesSetAside aside;
    for (const QString& strPath : qAsConst(lstPaths))
    {
        if (!QFileInfo::exists(strPath))
        {
            CLogger::Write(ELogLevel_Error, "File %s not found", Utf8(strPath).constData());
            continue;
        }
        if (!aside.Move(strPath))
        {
            CLogger::Write(ELogLevel_Error, "Failed to remove file %s", Utf8(strPath).constData());
            aside.Restore();
            return false;
        }
    }
    // The image without its ROIs, or ROIs without their image, must never be left behind.
    const std::vector<QString> vctDeletes{
        CDatabase::GetDeleteQuery(CDatasetImageRecord::TABLE_NAME, {{CDatasetImageRecord::COLUMN_ID, nImageID}}),
        CDatabase::GetDeleteQuery(CDatasetROIRecord::TABLE_NAME, {{CDatasetROIRecord::COLUMN_IMAGE_ID, nImageID}}),
        CProposalStore(m_pDatabase).DeleteOfImageQuery(nImageID)};
    if (!m_pDatabase->RunQueriesAtomically(vctDeletes))
    {
        aside.Restore();
        return false;
    }
    aside.Remove();

    if (bTrain)
        m_pModel->RemoveTrainImage(nImageID);
    else
        m_pModel->RemoveTestImage(nImageID);
    CLogger::Write(ELogLevel_Normal, "Remove file %s", Utf8(CSafeName::Shown(strImagePath)).constData());
    return true;
}
