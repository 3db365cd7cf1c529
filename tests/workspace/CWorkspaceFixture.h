#pragma once

#include "workspace/CImageLayoutModel.h"
#include "workspace/CImageWorkspaceController.h"
#include "workspace/CImageWorkspaceView.h"
#include "workspace/CWorkspaceBottomPanel.h"
#include "workspace/CWorkspacePropertyPanel.h"
#include "workspace/CWorkspaceToolPanel.h"

#include <QPointF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class CDrawableGeometry;
class CImageView2D;
class CImageViewer;
class QDialog;
class CImageViewerController;

namespace Ovrel
{
namespace Utils
{
class COvrelImage;
}
} // namespace Ovrel

// The workspace as the main window builds it: the layout model, the view (800 x 600 unless told), the three side
// areas and the controller. It is torn down in the main window's order too: layout model, view, then controller.
// Image files are written into a temporary folder; log lines are read back from the log folder of the settings.
class CWorkspaceFixture
{
public:
    explicit CWorkspaceFixture(const QSize& size = QSize(800, 600));
    ~CWorkspaceFixture();

    // Shows the view as a window and waits until it is exposed and active.
    bool Show();

    CImageViewerController* Viewer(int nViewID) const;
    CImageViewer* ViewerWidget(int nViewID) const;

    // An image whose pixel (x, y) holds (x + 10 * y + channel) in each channel, named strName.
    static std::shared_ptr<Ovrel::Utils::COvrelImage> MakeImage(int nWidth, int nHeight, int nChannels,
                                                                const QString& strName);
    // Writes MakeImage(nWidth, nHeight, 3, name) as a file of that name; returns its path (empty on failure).
    QString WriteImageFile(const QString& strName, int nWidth = 20, int nHeight = 10) const;
    QString Path(const QString& strName) const { return m_dir.filePath(strName); }

    // The lines logged since the previous call, as "[LEVEL] message".
    static QStringList NewLogLines();

    // Gives every viewer an image of 200 x 100 pixels named "view <id>".
    void PushImages();
    // A rectangle at (1, 2) of 5 x 4 pixels with that name.
    static std::shared_ptr<CDrawableGeometry> Rectangle(const QString& strName);
    // Answers the viewer chooser with the entry at nIndex, or cancels it for -1; adds the entries offered to the list.
    static std::function<int(QDialog*)> Choose(int nIndex, QStringList* pOffered);
    // A drag of the left button between two image points of a canvas, as a user's.
    static void DrawRectangle(CImageView2D* pCanvas, const QPointF& from, const QPointF& to);

    std::unique_ptr<CImageLayoutModel> layout;
    std::unique_ptr<CImageWorkspaceView> view;
    CWorkspaceToolPanel toolPanel;
    CWorkspacePropertyPanel propertyPanel;
    CWorkspaceBottomPanel bottomPanel;
    std::unique_ptr<CImageWorkspaceController> controller;
    // Every object event of the view, in order: "add|before|delete <view> <image> <object> <name>" and
    // "change <view> <image> <object>".
    QStringList events;

private:
    QTemporaryDir m_dir;
};
