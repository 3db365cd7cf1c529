#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CController.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class CDrawableObject;
class CDrawableObjectModel;
class CImageListModel;
class CImageView3D;
class CImageView3DController;
class CImageView3DModel;
class CImageView2D;
class CImageView2DController;
class CImageViewModeModel;
class CImageViewer;
class CImageViewerModel;
class CProgressModel;
class CProgressView;
class QIcon;
class QScrollArea;

namespace Ovrel
{
namespace Utils
{
class COvrelImage;
}
} // namespace Ovrel

// Builds what one image viewer needs (its image list and object models, the canvas with its controller, the progress
// bar, and the 3D view with its model and controller, or a placeholder without desktop OpenGL), wires them to the
// viewer, and offers the operations through which the workspace reaches the viewer's images and objects. Registers
// (model, viewer, itself) with the registry.
//
// The canvas and the progress bar are the viewer's children; the controller deletes them itself when it goes first,
// so that they never outlive the models they show.
class OVRELCOMMON_EXPORT CImageViewerController : public CController
{
    Q_OBJECT
public:
    using ImagePtr = std::shared_ptr<Ovrel::Utils::COvrelImage>;

    // Nothing given is owned. The three areas are the workspace's tool, property and bottom areas.
    CImageViewerController(CImageViewer* pViewer, CImageViewerModel* pModel, CImageViewModeModel* pModeModel,
                           QScrollArea* pArea1, QScrollArea* pArea2, QScrollArea* pArea3, QObject* parent = nullptr);
    ~CImageViewerController() override;

    // Deselects every object and adds this one, selected; no undo step.
    void AddObject(std::shared_ptr<CDrawableObject> pObject);
    // Replaces the current image as one undo step.
    void ApplyImage(ImagePtr pImage);
    // The canvas's binding of its objects to the current image (see CCanvasImageCommands): same-size replacements
    // keep the objects, geometry changes are refused. Opening a file ends it.
    void BindObjectsToCurrentImage();
    // All bits set when the objects are bound to no image.
    unsigned int GetBoundImageUID() const;
    // Removes the current image and clears the objects.
    void CloseCurrentImage();
    // False when no object has that UID.
    bool DeleteObject(unsigned int nUID);
    ImagePtr GetCurrentImage() const;
    // All bits set without a current image.
    unsigned int GetCurrentImageUID() const;
    // -1 without a viewer.
    int GetViewID() const;
    // Its images replace all others and the objects are cleared; a file that does not load leaves no image.
    void OpenFile(const QString& strPath);
    void SaveFile(const QString& strPath);
    // Adds an entry to the canvas's object menu; the callback gets (view ID, UID of the object whose menu is open).
    void RegisterGeometryAction(const QString& strText, const QIcon& icon,
                                const std::function<void(int, unsigned int)>& callback);

    // Each acts only while this viewer's canvas has the keyboard focus. Return false.
    bool Undo() override;
    bool Redo() override;

    CImageViewer* GetViewer() const;
    CImageListModel* GetImageListModel() const { return m_pImageListModel.get(); }
    CDrawableObjectModel* GetObjectModel() const { return m_pObjectModel.get(); }
    CImageView2D* GetCanvas() const;
    CImageView2DController* GetCanvasController() const { return m_pCanvasController.get(); }
    CProgressModel* GetProgressModel() const { return m_pProgressModel.get(); }
    // Null without desktop OpenGL.
    CImageView3D* Get3DView() const;
    CImageView3DModel* Get3DModel() const { return m_p3DModel.get(); }
    CImageView3DController* Get3DController() const { return m_p3DController.get(); }

public slots:
    void slot_ChangeProgressMaxRange(int nMaxRange);
    // The bar shows while the value is not 0.
    void slot_ChangeProgressValue(int nValue);

private:
    void ConnectViewer();
    // The 3D view triple, or the placeholder; returns the widget for the viewer's content area.
    QWidget* Create3DView();

    QPointer<CImageViewer> m_pViewer;
    CImageViewerModel* m_pModel;
    QPointer<QScrollArea> m_pArea1;
    QPointer<QScrollArea> m_pArea2;
    QPointer<QScrollArea> m_pArea3;
    std::unique_ptr<CImageListModel> m_pImageListModel;
    std::unique_ptr<CDrawableObjectModel> m_pObjectModel;
    QPointer<CImageView2D> m_pCanvas;
    std::unique_ptr<CImageView2DController> m_pCanvasController;
    std::unique_ptr<CProgressModel> m_pProgressModel;
    QPointer<CProgressView> m_pProgressView;
    std::unique_ptr<CImageView3DModel> m_p3DModel;
    QPointer<QWidget> m_p3DContent;
    std::unique_ptr<CImageView3DController> m_p3DController;
};
