#include "canvas/CCanvasImageCommands.h"

#include "canvas/CDrawableObjectModel.h"
#include "canvas/CReplaceImageCommand.h"
#include "frame/CFolderMemory.h"
#include "frame/CPrompt.h"
#include "frame/CSetting.h"
#include "frame/CUndoStack.h"
#include "images/CImageListModel.h"
#include "imaging/ImageConversion.h"

#include "Geometry/COvrelPoint.h"
#include "Utils/COvrelImage.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QUrl>

using Ovrel::Geometry::COvrelPoint;
using Ovrel::Utils::COvrelImage;
using Ovrel::Utils::EOvrelResult_OK;

const char* const CCanvasImageCommands::kImageFilter =
    "Images (*.bmp *.BMP *.jpg *.JPG *.jpeg *.JPEG *.png *.PNG *.gif *.GIF *.tif *.TIF *.tiff *.TIFF);;All files (*.*)";
const char* const CCanvasImageCommands::kPdfFilter = "PDF (*.pdf *.PDF);;All files (*.*)";
const char* const CCanvasImageCommands::kFileFilter =
    "Files (*.bmp *.BMP *.jpg *.JPG *.jpeg *.JPEG *.png *.PNG *.gif *.GIF *.tif *.TIF *.tiff *.TIFF *.pdf "
    "*.PDF);;All files (*.*)";
const char* const CCanvasImageCommands::kSaveFilter =
    "Files (*.bmp *.BMP *.jpg *.JPG *.jpeg *.JPEG *.png *.PNG *.gif *.GIF *.tif *.TIF *.tiff *.TIFF)";

namespace
{
constexpr double kQuarterTurn = 1.5707963267948966;
} // namespace

CCanvasImageCommands::CCanvasImageCommands(CImageListModel* pImageListModel, CDrawableObjectModel* pObjectModel,
                                           QWidget* pCanvas, CUndoStack* pUndoStack, ICanvasController* pController)
    : m_pImageListModel(pImageListModel), m_pObjectModel(pObjectModel), m_pCanvas(pCanvas), m_pUndoStack(pUndoStack),
      m_pController(pController), m_loader(pCanvas)
{
}

void CCanvasImageCommands::LoadImage()
{
    if (!m_pImageListModel)
        return;
    const QString strPath =
        CPrompt::GetOpenFileName(m_pCanvas, "Load Image", CFolderMemory::Folder(CFolderMemory::IMAGES), kImageFilter);
    CFolderMemory::Remember(CFolderMemory::IMAGES, strPath);
    if (strPath.isEmpty())
        return;
    // A file that does not load must not cost the user the images already open.
    const CCanvasImageLoader::ImageList vctImages = m_loader.LoadImageFile(strPath);
    if (!vctImages.empty())
        m_pImageListModel->SetImages(vctImages);
}

void CCanvasImageCommands::LoadPdf()
{
    if (!m_pImageListModel)
        return;
    const QString strPath =
        CPrompt::GetOpenFileName(m_pCanvas, "Load PDF File", CFolderMemory::Folder(CFolderMemory::IMAGES), kPdfFilter);
    CFolderMemory::Remember(CFolderMemory::IMAGES, strPath);
    if (strPath.isEmpty())
        return;
    const CCanvasImageLoader::ImageList vctImages = m_loader.LoadPdfFile(strPath);
    if (!vctImages.empty())
        m_pImageListModel->SetImages(vctImages);
}

void CCanvasImageCommands::LoadFiles()
{
    AddFiles("Load File");
}

void CCanvasImageCommands::AddImages()
{
    AddFiles("Add Images");
}

void CCanvasImageCommands::AddFiles(const QString& strCaption)
{
    if (!m_pImageListModel)
        return;
    const QStringList vctPaths =
        CPrompt::GetOpenFileNames(m_pCanvas, strCaption, CFolderMemory::Folder(CFolderMemory::IMAGES), kFileFilter);
    CFolderMemory::Remember(CFolderMemory::IMAGES, vctPaths.value(0));
    for (const QString& strPath : vctPaths)
        AddImageFile(strPath);
}

void CCanvasImageCommands::AddImageFile(const QString& strPath)
{
    if (!m_pImageListModel)
        return;
    for (const CCanvasImageLoader::ImagePtr& pImage : m_loader.LoadFile(strPath))
        m_pImageListModel->PushImage(pImage);
}

void CCanvasImageCommands::OpenFile(const QString& strPath)
{
    if (!m_pImageListModel || strPath.isEmpty())
        return;
    // Another file's image is not the one the objects were bound to; whoever binds does so after the open.
    m_nBoundImageUID = ~0u;
    m_pImageListModel->SetImages(m_loader.LoadFile(strPath));
    if (m_pObjectModel)
        m_pObjectModel->ClearAll();
}

void CCanvasImageCommands::SaveImage()
{
    if (!m_pImageListModel)
        return;
    const QString strPath = CPrompt::GetSaveFileName(m_pCanvas, "Save Image", QString(), kSaveFilter);
    SaveImageAs(strPath);
}

void CCanvasImageCommands::SaveImageAs(const QString& strPath)
{
    if (!m_pImageListModel || strPath.isEmpty())
        return;
    const std::shared_ptr<COvrelImage> pImage = m_pImageListModel->GetCurrentImage();
    if (!pImage)
        return;
    // A save that fails silently looks like success, and the edit would be lost with the viewer.
    if (pImage->SaveToFile(strPath.toStdWString()) != EOvrelResult_OK)
    {
        const QByteArray baPath = strPath.toUtf8();
        CPrompt::Critical(m_pCanvas, CSetting::GetString("GENERAL_PROGRAME_NAME", QCoreApplication::applicationName()),
                          QString::asprintf("Cannot save image %s", baPath.constData()));
    }
}

void CCanvasImageCommands::CloseImage()
{
    if (!m_pImageListModel)
        return;
    m_pImageListModel->RemoveCurrentImage();
    if (m_pObjectModel)
        m_pObjectModel->ClearAll();
}

void CCanvasImageCommands::ClearImages()
{
    if (m_pImageListModel)
        m_pImageListModel->ClearImages();
}

void CCanvasImageCommands::Previous()
{
    if (m_pImageListModel)
        m_pImageListModel->PreviousImage();
}

void CCanvasImageCommands::Next()
{
    if (m_pImageListModel)
        m_pImageListModel->NextImage();
}

void CCanvasImageCommands::SelectImage(int nIndex)
{
    if (m_pImageListModel)
        m_pImageListModel->SetCurrentIndex(nIndex);
}

void CCanvasImageCommands::Copy()
{
    if (!m_pImageListModel)
        return;
    const std::shared_ptr<COvrelImage> pImage = m_pImageListModel->GetCurrentImage();
    QImage image;
    // A deep copy: the clipboard keeps its image after the library image is closed, replaced or changed.
    if (pImage && ImageToQImage(pImage.get(), image, true))
        QGuiApplication::clipboard()->setImage(image);
}

void CCanvasImageCommands::Paste()
{
    if (!m_pImageListModel)
        return;
    const QMimeData* pData = QGuiApplication::clipboard()->mimeData();
    if (!pData)
        return;
    if (pData->hasImage() && !pData->hasText() && !pData->hasUrls())
    {
        auto pImage = std::make_shared<COvrelImage>();
        if (ImageFromQImage(qvariant_cast<QImage>(pData->imageData()), pImage.get()))
            m_pImageListModel->PushImage(pImage);
        return;
    }
    if (pData->hasText() && !pData->hasUrls())
        return;
    for (const QUrl& url : pData->urls())
    {
        auto pImage = std::make_shared<COvrelImage>();
        if (pImage->LoadFromFile(url.toLocalFile().toStdWString()) == EOvrelResult_OK)
            m_pImageListModel->PushImage(pImage);
    }
}

void CCanvasImageCommands::RotateLeft()
{
    Rotate(-kQuarterTurn);
}

void CCanvasImageCommands::RotateRight()
{
    Rotate(kQuarterTurn);
}

void CCanvasImageCommands::Rotate(double dblAngle)
{
    if (!m_pImageListModel || !m_pCanvas || !m_pUndoStack)
        return;
    const std::shared_ptr<COvrelImage> pCurrent = m_pImageListModel->GetCurrentImage();
    if (!pCurrent || RefusedForBoundObjects(nullptr, "rotated"))
        return;
    auto pTurned = std::make_shared<COvrelImage>();
    if (pTurned->CopyFrom(*pCurrent) != EOvrelResult_OK)
        return;
    const COvrelPoint center(pCurrent->GetWidth() * 0.5, pCurrent->GetHeight() * 0.5);
    if (pTurned->Rotate(dblAngle, 0.0, 1, center) != EOvrelResult_OK)
        return;
    ReplaceWithUndo(pTurned);
}

void CCanvasImageCommands::ApplyImage(const std::shared_ptr<COvrelImage>& pImage)
{
    if (m_pImageListModel && m_pUndoStack && pImage && !RefusedForBoundObjects(pImage.get(), "changed"))
        ReplaceWithUndo(pImage);
}

bool CCanvasImageCommands::RefusedForBoundObjects(const COvrelImage* pImage, const QString& strWhat)
{
    if (!AreObjectsBoundToCurrentImage() ||
        CReplaceImageCommand::SameGeometry(m_pImageListModel->GetCurrentImage().get(), pImage))
        return false;
    // The stored boxes would lie over other pixels, or beyond the image; quietly dropping them from the view would
    // show less than the store holds.
    CPrompt::Warning(m_pCanvas, CSetting::GetString("GENERAL_PROGRAME_NAME", QCoreApplication::applicationName()),
                     QString("The boxes of this image are stored with it, and would no longer match an image of "
                             "another size or orientation. The image was not %1.")
                         .arg(strWhat));
    return true;
}

void CCanvasImageCommands::ReplaceCurrentImage(const std::shared_ptr<COvrelImage>& pImage)
{
    if (!m_pImageListModel)
        return;
    const std::shared_ptr<COvrelImage> pLeaving = m_pImageListModel->GetCurrentImage();
    const bool bBound = AreObjectsBoundToCurrentImage();
    m_pImageListModel->ReplaceCurrentImage(pImage);
    // The binding follows the image through filters and their undo; an image of another size no longer fits it.
    if (bBound)
        m_nBoundImageUID = CReplaceImageCommand::SameGeometry(pLeaving.get(), pImage.get()) ? pImage->GetUID() : ~0u;
}

void CCanvasImageCommands::BindObjectsToCurrentImage()
{
    const std::shared_ptr<COvrelImage> pImage = m_pImageListModel ? m_pImageListModel->GetCurrentImage() : nullptr;
    m_nBoundImageUID = pImage ? pImage->GetUID() : ~0u;
}

bool CCanvasImageCommands::AreObjectsBoundToCurrentImage() const
{
    const std::shared_ptr<COvrelImage> pImage = m_pImageListModel ? m_pImageListModel->GetCurrentImage() : nullptr;
    return pImage && m_nBoundImageUID != ~0u && pImage->GetUID() == m_nBoundImageUID;
}

void CCanvasImageCommands::ReplaceWithUndo(const std::shared_ptr<COvrelImage>& pImage)
{
    auto* pCommand = new CReplaceImageCommand(m_pController, pImage);
    m_pUndoStack->PushUndo(pCommand);
    pCommand->Execute();
}

void CCanvasImageCommands::PushImage(const std::shared_ptr<COvrelImage>& pImage)
{
    if (m_pImageListModel && pImage)
        m_pImageListModel->PushImage(pImage);
}
