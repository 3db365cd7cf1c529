#include "project/export/CDatasetExportCommand.h"

#include "frame/CFolderMemory.h"
#include "frame/CLogger.h"
#include "frame/CPrompt.h"
#include "project/CProjectModel.h"
#include "project/export/CCocoExport.h"
#include "project/export/CExportDataset.h"
#include "project/export/CExportFiles.h"
#include "project/export/CVocExport.h"

#include <QDir>
#include <QProgressDialog>

namespace
{
const QString TITLE = QStringLiteral("Export Dataset");

QString FormatName(CDatasetExportCommand::EFormat eFormat)
{
    return CDatasetExportCommand::FormatChoices()[eFormat == CDatasetExportCommand::Coco ? 1 : 0];
}
} // namespace

const QStringList& CDatasetExportCommand::FormatChoices()
{
    static const QStringList lstChoices = {QStringLiteral("Pascal VOC"), QStringLiteral("COCO")};
    return lstChoices;
}

const QStringList& CDatasetExportCommand::ImageChoices()
{
    static const QStringList lstChoices = {QStringLiteral("Referenced where the project keeps them"),
                                           QStringLiteral("Copied into the export")};
    return lstChoices;
}

CDatasetExportCommand::CDatasetExportCommand(CDatabase* pDatabase, CProjectModel* pModel)
    : m_pDatabase(pDatabase), m_pModel(pModel)
{
}

CDatasetExportCommand::SResult CDatasetExportCommand::Export(const SChoice& choice, const Progress& progress)
{
    SResult result;
    CExportDataset dataset;
    if (!m_pModel ||
        !dataset.Read(m_pDatabase, m_pModel->GetTrainImages(), m_pModel->GetTestImages(), m_pModel->GetProjectDir()))
    {
        result.strFailure = QString("Cannot read the table %1 of the project file").arg(dataset.Failure());
        CLogger::Write(ELogLevel_Error, "Export Dataset: %s", result.strFailure.toUtf8().constData());
        return result;
    }
    result.lstNotes = dataset.Notes();
    CExportFiles files(choice.strDestination);
    int nUnreadable = 0;
    QString strFirstUnreadable;
    QString strRefusal;
    if (choice.eFormat == Coco)
    {
        CCocoExport coco(dataset, files);
        result.bDone = coco.Write(choice.bCopyImages, progress);
        result.bCancelled = coco.Cancelled();
        std::tie(result.nImages, result.nBoxes, nUnreadable, strFirstUnreadable) =
            std::make_tuple(coco.ImageCount(), coco.BoxCount(), coco.UnreadableCount(), coco.FirstUnreadable());
    }
    else
    {
        CVocExport voc(dataset, files);
        result.bDone = voc.Write(choice.bCopyImages, progress);
        result.bCancelled = voc.Cancelled();
        strRefusal = voc.Refusal();
        std::tie(result.nImages, result.nBoxes, nUnreadable, strFirstUnreadable) =
            std::make_tuple(voc.ImageCount(), voc.BoxCount(), voc.UnreadableCount(), voc.FirstUnreadable());
    }
    if (nUnreadable > 0)
        result.lstNotes.append(QString("%1 images could not be read for their copy and were left out (first %2)")
                                   .arg(nUnreadable)
                                   .arg(strFirstUnreadable));
    if (!result.bDone)
    {
        // Half an export next to a whole one from before would read as complete: none of it stays.
        result.strFailure = strRefusal.isEmpty() ? files.Failure() : strRefusal;
        files.RemoveWritten();
        if (result.bCancelled)
            CLogger::Write(ELogLevel_Normal, "Export Dataset: cancelled");
        else
            CLogger::Write(ELogLevel_Error, "Export Dataset: %s", result.strFailure.toUtf8().constData());
        return result;
    }
    CLogger::Write(ELogLevel_Normal, "Export Dataset: %d images, %d boxes as %s to %s", result.nImages, result.nBoxes,
                   FormatName(choice.eFormat).toUtf8().constData(),
                   QDir::toNativeSeparators(choice.strDestination).toUtf8().constData());
    return result;
}

QString CDatasetExportCommand::Report(const SChoice& choice, const SResult& result)
{
    QStringList lstLines;
    if (result.bCancelled)
        lstLines.append(QStringLiteral("The export was cancelled; nothing of it was kept."));
    else if (!result.bDone)
        lstLines.append(QString("The export failed: %1. Nothing of it was kept.").arg(result.strFailure));
    else
        lstLines.append(QString("Exported %1 images with %2 boxes as %3 to %4, the images %5.")
                            .arg(result.nImages)
                            .arg(result.nBoxes)
                            .arg(FormatName(choice.eFormat), QDir::toNativeSeparators(choice.strDestination),
                                 choice.bCopyImages ? QStringLiteral("copied") : QStringLiteral("referenced")));
    if (result.bDone)
        lstLines.append(result.lstNotes);
    return lstLines.join('\n');
}

CDatasetExportCommand::SResult CDatasetExportCommand::Run(QWidget* pParent)
{
    SChoice choice;
    bool bOk = false;
    const QString strFormat =
        CPrompt::GetItem(pParent, TITLE, QStringLiteral("Format:"), FormatChoices(), 0, false, &bOk);
    if (!bOk || !FormatChoices().contains(strFormat))
        return SResult();
    choice.eFormat = strFormat == FormatChoices()[1] ? Coco : PascalVoc;
    const QString strImages =
        CPrompt::GetItem(pParent, TITLE, QStringLiteral("Images:"), ImageChoices(), 0, false, &bOk);
    if (!bOk || !ImageChoices().contains(strImages))
        return SResult();
    choice.bCopyImages = strImages == ImageChoices()[1];
    choice.strDestination = CPrompt::GetExistingDirectory(
        pParent,
        choice.eFormat == Coco ? QStringLiteral("Export Dataset: folder for train.json and test.json")
                               : QStringLiteral("Export Dataset: Pascal VOC folder"),
        CFolderMemory::Folder(CFolderMemory::EXPORT));
    CFolderMemory::Remember(CFolderMemory::EXPORT, choice.strDestination);
    if (choice.strDestination.isEmpty())
        return SResult();

    // Held through a guard: the parent may take the dialog along while events are processed.
    QPointer<QProgressDialog> pProgress =
        new QProgressDialog(QStringLiteral("Exporting images..."), QStringLiteral("Cancel"), 0, 0, pParent);
    pProgress->setWindowTitle(TITLE);
    pProgress->setWindowModality(Qt::WindowModal);
    pProgress->setMinimumDuration(0);
    pProgress->setAutoClose(false);
    pProgress->setAutoReset(false);
    pProgress->show();
    const SResult result = Export(choice,
                                  [&pProgress](int nDone, int nTotal)
                                  {
                                      if (!pProgress || pProgress->wasCanceled())
                                          return false;
                                      pProgress->setMaximum(nTotal);
                                      // setValue processes events while the dialog shows: the window stays alive.
                                      pProgress->setValue(nDone);
                                      return pProgress && !pProgress->wasCanceled();
                                  });
    delete pProgress;
    if (!result.bDone && !result.bCancelled)
        CPrompt::Critical(pParent, TITLE, Report(choice, result));
    else
        CPrompt::Information(pParent, TITLE, Report(choice, result));
    return result;
}
