#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <tuple>

class CDatabase;
class CProjectModel;
class QWidget;

// "Export Dataset": writes the open project's training and test images with their boxes as a Pascal VOC folder (see
// CVocExport) or as COCO files (see CCocoExport), the images referenced where the project keeps them or copied. An
// export either completes or leaves nothing of itself: a failed or cancelled one removes every file and folder it
// made. GUI thread only.
class CDatasetExportCommand
{
public:
    enum EFormat
    {
        PascalVoc,
        Coco
    };
    struct SChoice
    {
        EFormat eFormat = PascalVoc;
        QString strDestination;
        bool bCopyImages = false;
    };
    struct SResult
    {
        bool bDone = false;
        bool bCancelled = false;
        int nImages = 0;
        int nBoxes = 0;
        // Why the export failed, empty when it did not.
        QString strFailure;
        // What was left out, cut or renamed, one line each.
        QStringList lstNotes;
    };
    // Called before each image with the number done and the total; false cancels the export there.
    using Progress = std::function<bool(int nDone, int nTotal)>;

    // The answers the prompts offer, in their order.
    static const QStringList& FormatChoices();
    static const QStringList& ImageChoices();

    // Neither is owned; the model may be deleted first, which ends nothing already read.
    CDatasetExportCommand(CDatabase* pDatabase, CProjectModel* pModel);

    // Asks through CPrompt for the format, for copied or referenced images and for the destination folder, exports
    // under a progress dialog on pParent that can cancel, then tells what was done: an information box, a critical
    // one when the export failed. Nothing happens when a prompt is cancelled.
    SResult Run(QWidget* pParent);
    // The export without prompts. Logs "Export Dataset: %d images, %d boxes as %s to %s" when done, the failure
    // otherwise.
    SResult Export(const SChoice& choice, const Progress& progress);
    // The text of the box that tells the user what the export did.
    static QString Report(const SChoice& choice, const SResult& result);

private:
    CDatabase* m_pDatabase = nullptr;
    QPointer<CProjectModel> m_pModel;
};
