#pragma once

#include "OvrelCommonGlobal.h"
#include "canvas/CCanvasImageLoader.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class CDrawableObjectModel;
class CImageListModel;
class CUndoStack;
class ICanvasController;

// What a canvas does to its viewer's images: open files and PDF documents, save, copy and paste through the
// clipboard, rotate by a quarter turn as an undoable step, step through the images and close them. The images live in
// the viewer's image list model; commands that replace the image the objects were drawn on also empty the object
// model, unless the controller binds the objects to the image: then a replacement of the same size keeps them, and
// a rotation or a replacement of another size is refused with a warning. Every command does nothing without an image
// list model. Prompts go through the prompt seam, parented to the
// canvas.
class OVRELCOMMON_EXPORT CCanvasImageCommands
{
public:
    // Nothing is owned; any pointer may be null. The controller receives the replace-image commands, which are pushed
    // on the undo stack.
    CCanvasImageCommands(CImageListModel* pImageListModel, CDrawableObjectModel* pObjectModel, QWidget* pCanvas,
                         CUndoStack* pUndoStack, ICanvasController* pController);

    // Ask for one image file, or one PDF document, and put its images in place of all others. A file that does not
    // load leaves the images as they were (its message has been shown).
    void LoadImage();
    void LoadPdf();
    // Ask for several files (images or PDF documents) and append the images of each; the last becomes current.
    // LoadFiles asks with the caption "Load File", AddImages with "Add Images".
    void LoadFiles();
    void AddImages();
    // Appends the images of one file (its pages for a PDF); the last becomes current.
    void AddImageFile(const QString& strPath);
    // Opens a file for the workspace: its images replace all others and the objects are cleared. Unlike the dialog
    // commands, a file that does not load leaves the viewer without images, so that the workspace sees no current
    // image for a file that did not open.
    void OpenFile(const QString& strPath);

    // Ask for a path and save the current image there; a failed save is told with "Cannot save image %s".
    void SaveImage();
    void SaveImageAs(const QString& strPath);

    // Removes the current image and clears the objects.
    void CloseImage();
    // Removes every image; the objects stay.
    void ClearImages();
    void Previous();
    void Next();
    void SelectImage(int nIndex);

    // Puts a copy of the current image on the clipboard: the clipboard outlives the image and its buffer.
    void Copy();
    // Appends the clipboard's image, or the images of the files it lists; plain text changes nothing.
    void Paste();

    // Replace the current image with a copy turned by a quarter turn, as one undo step that also clears the objects.
    void RotateLeft();
    void RotateRight();
    // Replaces the current image as one undo step (the image processing tools hand their results in here).
    void ApplyImage(const std::shared_ptr<Ovrel::Utils::COvrelImage>& pImage);
    // Appends the image and makes it current.
    void PushImage(const std::shared_ptr<Ovrel::Utils::COvrelImage>& pImage);
    // Puts the image in place of the current one (for the replace-image commands); a binding follows the image when
    // it has the size of the one it replaces, and ends otherwise.
    void ReplaceCurrentImage(const std::shared_ptr<Ovrel::Utils::COvrelImage>& pImage);

    // Binds the objects to the current image, for an image whose boxes are stored with it elsewhere: a replacement
    // of the same size (a filter, its undo) keeps the objects and the binding moves to the new image; a rotation or
    // a result of another size is refused with a warning. Opening a file (OpenFile) ends the binding.
    void BindObjectsToCurrentImage();
    // The UID of the image the objects are bound to; all bits set when there is none.
    unsigned int GetBoundImageUID() const { return m_nBoundImageUID; }
    bool AreObjectsBoundToCurrentImage() const;

    // The filters of the dialogs.
    static const char* const kImageFilter;
    static const char* const kPdfFilter;
    static const char* const kFileFilter;
    static const char* const kSaveFilter;

private:
    void Rotate(double dblAngle);
    void ReplaceWithUndo(const std::shared_ptr<Ovrel::Utils::COvrelImage>& pImage);
    // True (after the warning) when the objects are bound to the current image and pImage would not fit them.
    bool RefusedForBoundObjects(const Ovrel::Utils::COvrelImage* pImage, const QString& strWhat);
    void AddFiles(const QString& strCaption);

    CImageListModel* m_pImageListModel;
    CDrawableObjectModel* m_pObjectModel;
    QPointer<QWidget> m_pCanvas;
    CUndoStack* m_pUndoStack;
    ICanvasController* m_pController;
    CCanvasImageLoader m_loader;
    unsigned int m_nBoundImageUID = ~0u;
};
