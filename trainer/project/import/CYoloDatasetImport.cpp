#include "project/import/CYoloDatasetImport.h"

#include "database/CColumnSelect.h"
#include "database/CDatabase.h"
#include "frame/CLogger.h"
#include "project/CProjectModel.h"
#include "project/classes/CProjectCategories.h"
#include "project/import/CDatasetFormat.h"
#include "project/import/CDatasetScan.h"
#include "project/store/CCategoryRecord.h"
#include "project/store/CDatasetImageRecord.h"
#include "project/store/CDatasetROIRecord.h"
#include "project/store/CProjectLayout.h"
#include "project/store/CSafeName.h"

#include "frame/CPrompt.h"
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProgressDialog>
#include <QThread>

#include <atomic>

namespace
{
QByteArray Utf8(const QString& strText)
{
    return strText.toUtf8();
}

// Images per transaction at most, and the longest a transaction stays open: one commit per image would spend more
// time in the file system's sync than in copying, yet a cancel must not wait long for its images to be kept.
constexpr int kImagesPerCommit = 200;
constexpr qint64 kMillisecondsPerCommit = 250;

// Rows per statement at most: SQLite takes many rows in one VALUES list, and a statement stays of a sane length.
constexpr int kRowsPerStatement = 500;

// The records' own inserts joined into statements of many rows each: SQLite spends more time parsing and planning a
// statement than storing its row, and an image brings tens of boxes. A record whose insert is of another shape goes
// on its own.
std::vector<QString> JoinedInserts(const std::vector<std::shared_ptr<CDatabaseRecord>>& vctRecords)
{
    static const QString strValues = QStringLiteral(" VALUES(");
    std::vector<QString> vctQueries;
    int nRows = 0;
    QString strHead;
    for (const std::shared_ptr<CDatabaseRecord>& pRecord : vctRecords)
    {
        const QString strQuery = pRecord->GetInsertQuery();
        const int nAt = strQuery.indexOf(strValues);
        if (nAt < 0 || strQuery.indexOf(strValues, nAt + 1) >= 0)
        {
            vctQueries.push_back(strQuery);
            nRows = 0;
            continue;
        }
        if (nRows > 0 && nRows < kRowsPerStatement && strQuery.leftRef(nAt) == strHead)
        {
            vctQueries.back() += QLatin1Char(',') + strQuery.midRef(nAt + strValues.size() - 1);
            ++nRows;
            continue;
        }
        strHead = strQuery.left(nAt);
        vctQueries.push_back(strQuery);
        nRows = 1;
    }
    return vctQueries;
}

QString ProblemText(const QString& strWhat, const CDatasetScan::SProblem& problem)
{
    if (problem.nCount == 0)
        return QString();
    return QString("%1 %2 (first in %3)\n").arg(problem.nCount).arg(strWhat, problem.lstFiles.join(", "));
}
} // namespace

CYoloDatasetImport::CYoloDatasetImport(CDatabase* pDatabase, CProjectModel* pModel)
    : m_pDatabase(pDatabase), m_pModel(pModel)
{
}

QString CYoloDatasetImport::FreeName(const QString& strName, QSet<QString>& taken)
{
    QString strFree = strName;
    const int nDot = strName.lastIndexOf('.');
    const QString strBase = nDot < 0 ? strName : strName.left(nDot);
    const QString strExtension = nDot < 0 ? QString() : strName.mid(nDot);
    for (int n = 1; taken.contains(strFree); ++n)
        strFree = QString("%1_%2%3").arg(strBase).arg(n).arg(strExtension);
    taken.insert(strFree);
    return strFree;
}

QSet<QString> CYoloDatasetImport::TakenNames(const QString& strFolder) const
{
    QSet<QString> taken;
    for (const QString& strName : QDir(strFolder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        taken.insert(strName);
    // A row whose copy has gone still holds its name: a second row of that name would share its boxes' label file.
    std::vector<QString> vctNames;
    CColumnSelect select(CDatasetImageRecord::TABLE_NAME);
    select.AddText(CDatasetImageRecord::COLUMN_NAME, &vctNames);
    if (select.Run(m_pDatabase))
    {
        taken.reserve(taken.size() + int(vctNames.size()));
        for (const QString& strName : vctNames)
            taken.insert(strName);
    }
    return taken;
}

bool CYoloDatasetImport::MatchClasses(const CDatasetScan& scan, std::map<int, int>& mapCategoryIDs, QString& strRefusal)
{
    const CProjectCategories categories(m_pDatabase);
    if (!categories.IsRead())
        return false;
    std::map<QString, int> mapByName;
    const QStringList lstProjectNames = categories.Names();
    for (int i = 0; i < categories.Count(); ++i)
        mapByName.emplace(lstProjectNames[i], categories.IDs()[static_cast<size_t>(i)]);
    const QStringList& lstNames = scan.ClassNames();
    // Checked before any class is added: a refused import leaves the project as it was.
    for (const QString& strName : lstNames)
    {
        const QString strProblem = CSafeName::ClassNameProblem(strName);
        if (strProblem.isEmpty())
            continue;
        strRefusal =
            QString("Class %1 cannot be imported, %2: nothing imported.").arg(CSafeName::Shown(strName), strProblem);
        return false;
    }
    QSet<QString> setMissing;
    for (const QString& strName : lstNames)
    {
        if (!strName.isEmpty() && mapByName.find(strName) == mapByName.end())
            setMissing.insert(strName);
    }
    const int nClasses = static_cast<int>(mapByName.size()) + setMissing.size();
    if (nClasses > CDatasetScan::kMaxClasses)
    {
        strRefusal = QString("The project would hold %1 classes, more than the limit of %2: nothing imported.")
                         .arg(nClasses)
                         .arg(CDatasetScan::kMaxClasses);
        return false;
    }
    // One commit for all new classes: each on its own would wait for the file system thousands of times.
    const bool bTransaction = !setMissing.isEmpty() && m_pDatabase->StartTransaction();
    std::vector<QString> vctAdded;
    for (int i = 0; i < lstNames.size(); ++i)
    {
        // The class editor refuses a blank name; the scan skips the lines of one.
        if (lstNames[i].isEmpty())
            continue;
        auto it = mapByName.find(lstNames[i]);
        if (it == mapByName.end())
        {
            auto pCategory = std::make_shared<CCategoryRecord>();
            pCategory->SetName(lstNames[i]);
            if (!m_pDatabase->InsertToTable(pCategory))
            {
                CLogger::Write(ELogLevel_Error, "Cannot insert class %s", Utf8(lstNames[i]).constData());
                if (bTransaction)
                    m_pDatabase->Rollback();
                return false;
            }
            vctAdded.push_back(lstNames[i]);
            it = mapByName.emplace(lstNames[i], pCategory->GetID()).first;
        }
        mapCategoryIDs[i] = it->second;
    }
    if (bTransaction && !m_pDatabase->Commit())
    {
        m_pDatabase->Rollback();
        CLogger::Write(ELogLevel_Error, "Import Dataset: cannot store classes: %s",
                       Utf8(m_pDatabase->GetLastError()).constData());
        return false;
    }
    for (const QString& strName : vctAdded)
        CLogger::Write(ELogLevel_Normal, "Add class %s", Utf8(strName).constData());
    return true;
}

bool CYoloDatasetImport::Commit(std::vector<SPending>& vctPending, SResult& result)
{
    if (vctPending.empty())
        return true;
    if (!m_pDatabase->Commit())
    {
        m_pDatabase->Rollback();
        for (const SPending& pending : vctPending)
            QFile::remove(pending.strCopy);
        result.nFailed += static_cast<int>(vctPending.size());
        vctPending.clear();
        CLogger::Write(ELogLevel_Error, "Import Dataset: cannot store images: %s",
                       Utf8(m_pDatabase->GetLastError()).constData());
        return false;
    }
    for (const SPending& pending : vctPending)
    {
        if (pending.pRecord->GetType() == QLatin1String("train"))
            m_pModel->AddTrainImage(pending.pRecord);
        else
            m_pModel->AddTestImage(pending.pRecord);
        ++result.nImages;
        result.nBoxes += pending.nBoxes;
    }
    vctPending.clear();
    return true;
}

CYoloDatasetImport::SResult CYoloDatasetImport::Import(const CDatasetScan& scan, const Progress& progress)
{
    SResult result;
    if (!m_pDatabase || !m_pModel || m_pModel->GetProjectDir().isEmpty())
        return result;
    const QString strProjectDir = m_pModel->GetProjectDir();
    const QString strFolder = CProjectLayout(strProjectDir).ImagesFolder();
    if (!QFileInfo(strFolder).isDir() && !QDir(strProjectDir).mkdir(CProjectLayout::IMAGES_FOLDER))
    {
        CLogger::Write(ELogLevel_Error, "Cannot create folder %s", Utf8(strFolder).constData());
        return result;
    }
    // What the scan could not read goes to the log as well as to the report.
    if (scan.Unreadable().nCount > 0)
        CLogger::Write(ELogLevel_Error, "Import Dataset: %d files not read (first: %s)", scan.Unreadable().nCount,
                       Utf8(scan.Unreadable().lstFiles.join(", ")).constData());
    if (scan.TooLarge().nCount > 0)
        CLogger::Write(ELogLevel_Error, "Import Dataset: %d files too large (first: %s)", scan.TooLarge().nCount,
                       Utf8(scan.TooLarge().lstFiles.join(", ")).constData());
    result.strRefusal = scan.Refusal();
    std::map<int, int> mapCategoryIDs;
    const bool bMatched = result.strRefusal.isEmpty() && MatchClasses(scan, mapCategoryIDs, result.strRefusal);
    if (!result.strRefusal.isEmpty())
        CLogger::Write(ELogLevel_Error, "Import Dataset: %s", Utf8(result.strRefusal).constData());
    if (!bMatched)
        return result;
    QSet<QString> taken = TakenNames(strFolder);
    const int nProjectID = m_pModel->GetProjectID();

    const std::vector<CDatasetScan::SImage>& vctImages = scan.Images();
    const int nTotal = static_cast<int>(vctImages.size());
    std::vector<SPending> vctPending;
    QElapsedTimer sinceCommit;
    bool bInTransaction = false;
    for (int i = 0; i < nTotal; ++i)
    {
        const bool bGoOn = !progress || progress(i, nTotal);
        // The progress dialog processes events: the project may have gone meanwhile.
        if (!bGoOn || !m_pModel || m_pModel->GetProjectDir() != strProjectDir)
        {
            result.bCancelled = true;
            break;
        }
        const CDatasetScan::SImage& image = vctImages[i];
        // A file name may hold a newline: it would split its line in train.txt.
        const QString strSourceName = QFileInfo(image.strPath).fileName();
        const QString strNameProblem = CSafeName::ImageNameProblem(strSourceName);
        if (!strNameProblem.isEmpty())
        {
            CLogger::Write(ELogLevel_Error, "Cannot import image %s: %s",
                           Utf8(CSafeName::Shown(strSourceName)).constData(), Utf8(strNameProblem).constData());
            ++result.nFailed;
            continue;
        }
        const QString strName = FreeName(strSourceName, taken);
        const QByteArray baName = Utf8(strName);
        const QString strTarget = strFolder + QDir::separator() + strName;
        if (!QFile::copy(image.strPath, strTarget))
        {
            CLogger::Write(ELogLevel_Error, "Cannot copy image %s", baName.constData());
            ++result.nFailed;
            continue;
        }
        CLogger::Write(ELogLevel_Normal, "Copy image %s", baName.constData());
        // The header gives the size; the boxes need nothing more of the picture.
        const QSize size = QImageReader(strTarget).size();
        if (size.width() <= 0 || size.height() <= 0)
        {
            QFile::remove(strTarget);
            CLogger::Write(ELogLevel_Error, "Cannot load image %s", baName.constData());
            ++result.nFailed;
            continue;
        }
        // Pixel boxes were checked against the size the annotation states: on a picture of another size they would
        // sit elsewhere.
        if (image.sizeStated.isValid() && image.sizeStated != size)
        {
            QFile::remove(strTarget);
            CLogger::Write(ELogLevel_Error, "Cannot import image %s: it is %dx%d, its annotation says %dx%d",
                           baName.constData(), size.width(), size.height(), image.sizeStated.width(),
                           image.sizeStated.height());
            ++result.nFailed;
            continue;
        }
        if (!bInTransaction)
        {
            bInTransaction = m_pDatabase->StartTransaction();
            sinceCommit.start();
        }
        auto pRecord = std::make_shared<CDatasetImageRecord>();
        pRecord->SetName(strName);
        pRecord->SetFullPath(CProjectLayout::StoredImagePath(strName));
        pRecord->SetType(image.bTrain ? QStringLiteral("train") : QStringLiteral("test"));
        pRecord->SetWidth(static_cast<unsigned int>(size.width()));
        pRecord->SetHeight(static_cast<unsigned int>(size.height()));
        pRecord->SetProjectID(nProjectID);
        bool bStored = m_pDatabase->InsertToTable(pRecord);
        const int nBoxes = static_cast<int>(image.vctBoxes.size() + image.vctPixelBoxes.size());
        if (bStored && nBoxes > 0)
        {
            const double dblWidth = size.width();
            const double dblHeight = size.height();
            std::vector<std::shared_ptr<CDatabaseRecord>> vctRois;
            vctRois.reserve(static_cast<size_t>(nBoxes));
            for (const CDatasetScan::SBox& box : image.vctBoxes)
            {
                auto pRoi = std::make_shared<CDatasetROIRecord>();
                pRoi->SetX((box.dblCenterX - box.dblWidth / 2.0) * dblWidth);
                pRoi->SetY((box.dblCenterY - box.dblHeight / 2.0) * dblHeight);
                pRoi->SetWidth(box.dblWidth * dblWidth);
                pRoi->SetHeight(box.dblHeight * dblHeight);
                pRoi->SetImageID(pRecord->GetID());
                pRoi->SetCategoryID(mapCategoryIDs[box.nClass]);
                vctRois.push_back(pRoi);
            }
            for (const CDatasetScan::SPixelBox& box : image.vctPixelBoxes)
            {
                auto pRoi = std::make_shared<CDatasetROIRecord>();
                pRoi->SetX(box.dblX);
                pRoi->SetY(box.dblY);
                pRoi->SetWidth(box.dblWidth);
                pRoi->SetHeight(box.dblHeight);
                pRoi->SetImageID(pRecord->GetID());
                pRoi->SetCategoryID(mapCategoryIDs[box.nClass]);
                vctRois.push_back(pRoi);
            }
            if (!m_pDatabase->RunQueries(JoinedInserts(vctRois), false))
            {
                // The image goes with the boxes that did get in: an image is kept whole or not at all.
                m_pDatabase->RunQueries(
                    {CDatabase::GetDeleteQuery(CDatasetROIRecord::TABLE_NAME,
                                               {{CDatasetROIRecord::COLUMN_IMAGE_ID, pRecord->GetID()}}),
                     CDatabase::GetDeleteQuery(CDatasetImageRecord::TABLE_NAME,
                                               {{CDatasetImageRecord::COLUMN_ID, pRecord->GetID()}})},
                    false);
                bStored = false;
            }
        }
        if (!bStored)
        {
            QFile::remove(strTarget);
            CLogger::Write(ELogLevel_Error, "Cannot insert image %s", baName.constData());
            ++result.nFailed;
            continue;
        }
        vctPending.push_back({pRecord, strTarget, nBoxes});
        if (static_cast<int>(vctPending.size()) >= kImagesPerCommit || sinceCommit.elapsed() >= kMillisecondsPerCommit)
        {
            Commit(vctPending, result);
            bInTransaction = false;
        }
    }
    if (bInTransaction)
    {
        if (m_pModel)
            Commit(vctPending, result);
        else
        {
            m_pDatabase->Rollback();
            for (const SPending& pending : vctPending)
                QFile::remove(pending.strCopy);
        }
    }
    if (progress && !result.bCancelled)
        progress(nTotal, nTotal);
    CLogger::Write(ELogLevel_Normal, "Import Dataset: %d images, %d boxes", result.nImages, result.nBoxes);
    return result;
}

CYoloDatasetImport::SResult CYoloDatasetImport::ImportFolder(const QString& strFolder, QWidget* pParent)
{
    const QString strTitle = QStringLiteral("Import Dataset");
    // Held through a guard: the parent may take the dialog along while events are processed. Shown at once and
    // modal: the window must not take another command while the folder is read.
    QPointer<QProgressDialog> pProgress =
        new QProgressDialog(QStringLiteral("Reading the data set..."), QStringLiteral("Cancel"), 0, 0, pParent);
    pProgress->setWindowTitle(strTitle);
    pProgress->setWindowModality(Qt::WindowModal);
    pProgress->setMinimumDuration(0);
    pProgress->setAutoClose(false);
    pProgress->setAutoReset(false);
    pProgress->show();

    // The folder is read on a thread of its own: a slow disk or a huge folder keeps the window alive and Cancel
    // working. The thread only reads files; it ends soon once the flag is set.
    std::atomic_bool bCancel{false};
    QObject::connect(pProgress, &QProgressDialog::canceled, pProgress, [&bCancel] { bCancel = true; });
    std::unique_ptr<CDatasetScan> pScan;
    QEventLoop loop;
    QThread* pThread =
        QThread::create([&pScan, &strFolder, &bCancel] { pScan = CDatasetFormat::Scan(strFolder, &bCancel); });
    QObject::connect(pThread, &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    pThread->start();
    loop.exec();
    pThread->wait();
    delete pThread;
    CDatasetScan& scan = *pScan;

    SResult result;
    if (scan.Cancelled() || !pProgress || pProgress->wasCanceled())
        result.bCancelled = true;
    else if (!scan.HasLists() && !scan.Images().empty() && scan.Refusal().isEmpty())
    {
        pProgress->hide();
        bool bOk = false;
        const QString strShare =
            CPrompt::GetText(pParent, strTitle, "Training images (%)", QLineEdit::Normal, QStringLiteral("100"), &bOk);
        if (!bOk || strShare.isNull())
        {
            delete pProgress;
            return SResult();
        }
        bool bNumber = false;
        const double dblPercent = strShare.trimmed().toDouble(&bNumber);
        scan.SetTrainShare(bNumber ? dblPercent / 100.0 : 1.0);
        if (pProgress)
            pProgress->show();
    }
    if (!result.bCancelled && pProgress)
    {
        pProgress->setLabelText(QStringLiteral("Importing images..."));
        pProgress->setRange(0, static_cast<int>(scan.Images().size()));
        result = Import(scan,
                        [&pProgress](int nDone, int)
                        {
                            if (!pProgress || pProgress->wasCanceled())
                                return false;
                            // setValue processes events while the dialog shows: the window stays alive.
                            pProgress->setValue(nDone);
                            return pProgress && !pProgress->wasCanceled();
                        });
    }
    delete pProgress;
    CPrompt::Information(pParent, strTitle, Report(scan, result));
    return result;
}

QString CYoloDatasetImport::Report(const CDatasetScan& scan, const SResult& result)
{
    QString strText;
    if (!result.strRefusal.isEmpty())
        strText += result.strRefusal + "\n";
    strText += QString("Imported %1 images with %2 boxes.\n").arg(result.nImages).arg(result.nBoxes);
    if (scan.Cancelled())
        strText += QString("Cancelled while reading the data set.\n");
    else if (result.bCancelled)
        strText += QString("Cancelled after %1 of %2 images.\n").arg(result.nImages).arg(scan.Images().size());
    if (result.nFailed > 0)
        strText += QString("%1 images could not be imported (see the log)\n").arg(result.nFailed);
    strText += ProblemText("malformed label lines skipped", scan.Malformed());
    strText += ProblemText("label lines with a class index without a name skipped", scan.UnnamedClass());
    strText += ProblemText("label lines with a box of no size or far outside its image skipped", scan.Unusable());
    if (scan.BlankClassNames() > 0)
        strText += QString("%1 blank class names skipped\n").arg(scan.BlankClassNames());
    strText += ProblemText("boxes reach beyond their image", scan.Outside());
    if (scan.SkippedImages() > 0)
        strText +=
            QString("%1 images skipped: their label files cannot be read or are too large\n").arg(scan.SkippedImages());
    strText += ProblemText("files are not regular files or cannot be read", scan.Unreadable());
    strText += ProblemText(QString("files over the size limit (%1 bytes for a text file, %2 for an image) not read")
                               .arg(CDatasetScan::kMaxTextBytes)
                               .arg(CDatasetScan::kMaxImageBytes),
                           scan.TooLarge());
    strText +=
        ProblemText(QString("label lines beyond %1 boxes per image skipped").arg(CDatasetScan::kMaxBoxesPerImage),
                    scan.BeyondBoxLimit());
    strText += ProblemText("annotation files malformed, nothing of them imported", scan.MalformedFiles());
    strText += ProblemText("boxes without their four numbers or with corners in the wrong order skipped",
                           scan.MalformedBoxes());
    strText += ProblemText("boxes of no size or far outside their image skipped", scan.UnusableBoxes());
    strText += ProblemText("boxes of an unknown category skipped", scan.UnknownCategory());
    strText += ProblemText("boxes of an image that is not listed skipped", scan.UnknownImage());
    strText += ProblemText("annotated images not found", scan.MissingImages());
    strText += ProblemText("annotations of an image annotated more than once, the image left out with its boxes",
                           scan.DuplicateImages());
    if (scan.CrowdBoxes() > 0)
        strText += QString("%1 crowd boxes imported as ordinary boxes\n").arg(scan.CrowdBoxes());
    return strText;
}
