#pragma once

#include "OvrelCommonGlobal.h"

#include <QFrame>
#include <QModelIndex>
#include <QPointer>

#include <memory>
#include <vector>

class CDrawableObject;
class CImageListModel;
class CImageView2D;
class CImageViewModeModel;
class CImageViewerModel;
class CThumbnailCache;
class QAbstractButton;
class QButtonGroup;
class QHBoxLayout;
class QItemSelectionModel;
class QLabel;
class QListView;
class QSplitter;
class QStandardItemModel;

// One pane of the image workspace: the loaded images as thumbnails on the left; on the right a tool bar, the 2D
// canvas (or the 3D view) and a status line with the image's size and the pixel under the mouse.
//
// The viewer turns its canvas's object events into workspace events that carry its view ID and the UID of the image
// the canvas shows (all bits set while it shows none). It shows a blue border while the keyboard focus is anywhere
// inside it, so that the user sees which canvas undo and redo act on.
class OVRELCOMMON_EXPORT CImageViewer : public QFrame
{
    Q_OBJECT
public:
    enum EButton
    {
        EButton_AddImage,
        EButton_ClearImage,
        EButton_OpenFile,
        EButton_SaveFile,
        EButton_Selection,
        EButton_Move,
        EButton_Ruler,
        EButton_Capture,
        EButton_Previous,
        EButton_Next,
        EButton_ZoomFit,
        EButton_RotateLeft,
        EButton_RotateRight,
        EButton_2D,
        EButton_3D,
        EButton_Count
    };

    // The model is not owned and may be null.
    CImageViewer(CImageViewerModel* pModel, int nViewID, QWidget* parent = nullptr);
    ~CImageViewer() override;

    int GetViewID() const { return m_nViewID; }
    // A copy of what the canvas paints, in object-model order; empty without a canvas.
    std::vector<std::shared_ptr<CDrawableObject>> GetDrawableObjects() const;

    // Puts the canvas (shown) and the 3D view (hidden) into the content area and the progress widget (hidden) into
    // the status line, and follows the image list and the mode model. The viewer takes the widgets as children; none
    // of the models is owned. Without a 3D view (null) the 3D button stays disabled and the canvas is all there is;
    // a 3D view that has a signal_Switch3DTo2D() signal switches back to the canvas through it.
    void SetContent(CImageView2D* pCanvas, QWidget* p3DView, QWidget* pProgress, CImageListModel* pImageListModel,
                    CImageViewModeModel* pModeModel);

    CImageView2D* GetCanvas() const;
    QWidget* Get3DView() const;
    QWidget* GetProgressWidget() const;
    QAbstractButton* GetButton(EButton eButton) const;
    QLabel* GetViewLabel() const { return m_pViewLabel; }
    QLabel* GetInfoLabel() const { return m_pInfoLabel; }
    QListView* GetThumbnailView() const { return m_pThumbnailView; }
    QStandardItemModel* GetThumbnailModel() const { return m_pThumbnailModel; }
    const CThumbnailCache& GetThumbnails() const { return *m_pThumbnails; }

signals:
    void signal_SelectMode();
    void signal_PanningMode();
    void signal_ZoomFit();
    void signal_RotateLeft();
    void signal_RotateRight();
    void signal_Previous();
    void signal_Next();
    void signal_Ruler();
    void signal_ChangeDrawableObjectProperty(uint nUID);
    void signal_AddDrawableObjectWithViewID(int nViewID, uint nImageUID, uint nGeometryUID, QString strName);
    void signal_DeleteDrawableObjectWithViewID(int nViewID, uint nImageUID, uint nGeometryUID, QString strName);
    void signal_BeforeDeleteDrawableObjectWithViewID(int nViewID, uint nImageUID, uint nGeometryUID, QString strName);
    void signal_ChangeDrawableObjectPropertyWithViewID(int nViewID, uint nImageUID, uint nGeometryUID);
    void signal_OpenSnipTool();
    void signal_SelectImage(int index);
    void signal_ClearImage();
    void signal_AddImage();
    void signal_OpenFile();
    void signal_SaveFile();

public slots:
    void slot_Press2D();
    // Nothing without a 3D view.
    void slot_Press3D();
    // The view label shows "[View-id][WxHxCxB]" of the current image, "[View-id]" when there is none.
    void slot_ChangeCurrentImage();
    // The info label shows the pixel under the mouse, "[X=x; Y=y] [V=...]", or nothing off the image.
    void slot_ChangeMousePosition();
    void slot_ChangeImageList();
    void slot_ChangeCurrentIndex();
    // The user picked a thumbnail.
    void slot_CurrentChanged(QModelIndex current, QModelIndex previous);
    void slot_ChangeViewMode();
    void slot_ChangeViewType();
    void slot_AddDrawableObject(uint nUID, QString strName);
    void slot_DeleteDrawableObject(uint nUID, QString strName);
    void slot_BeforeDeleteDrawableObject(uint nUID, QString strName);
    void slot_ChangeDrawableObjectProperty(uint nUID);
    void slot_SplitterMoved(int pos, int index);

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private slots:
    void slot_FocusChanged(QWidget* pOld, QWidget* pNow);

private:
    QWidget* BuildThumbnailSide();
    QWidget* BuildToolBar();
    QAbstractButton* AddButton(QWidget* pParent, EButton eButton, const QString& strIcon);
    // The UID of the image the canvas shows, all bits set without one.
    unsigned int CurrentImageUID() const;
    bool Contains(const QWidget* pWidget) const;
    void ShowFocus(bool bFocused);
    int ThumbnailWidth() const;
    void RescaleThumbnails();

    CImageViewerModel* m_pModel;
    int m_nViewID;
    QPointer<CImageView2D> m_pCanvas;
    QPointer<QWidget> m_p3DView;
    QPointer<QWidget> m_pProgress;
    QPointer<CImageListModel> m_pImageListModel;
    QPointer<CImageViewModeModel> m_pModeModel;
    QSplitter* m_pSplitter = nullptr;
    QHBoxLayout* m_pContentLayout = nullptr;
    QHBoxLayout* m_pStatusLayout = nullptr;
    QLabel* m_pViewLabel = nullptr;
    QLabel* m_pInfoLabel = nullptr;
    QStandardItemModel* m_pThumbnailModel = nullptr;
    QListView* m_pThumbnailView = nullptr;
    QItemSelectionModel* m_pSelectionModel = nullptr;
    QAbstractButton* m_apButtons[EButton_Count] = {};
    QButtonGroup* m_pModeButtons = nullptr;
    QButtonGroup* m_pViewTypeButtons = nullptr;
    std::unique_ptr<CThumbnailCache> m_pThumbnails;
    // Set while the viewer itself moves the list's current item, so that this is not taken for the user's pick.
    bool m_bSyncingThumbnails = false;
};
