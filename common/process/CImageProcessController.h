#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CController.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class CDrawableGeometry;
class CDrawableObjectModel;
class CImageProcessView;
class CImageViewer;
class CImageViewerController;

namespace Ovrel
{
namespace Geometry
{
class COvrelGeometry;
}
namespace Utils
{
class COvrelImage;
}
} // namespace Ovrel

// The controller frame every image tool shares: binds the tool to the viewer whose window title the view names, keeps
// the view's ROI list in step with the shapes added to and deleted from that viewer, and times each run.
//
// The ROI list holds one entry per geometry shape of the viewer, showing its display name and where it is as
// "<name> (x, y, w x h)" in whole image pixels ("roi (20, 10, 60x40)"), so that shapes of one name are told apart;
// an entry follows its shape's changes (moved, resized, renamed), and the list empties when the viewer drops all its
// shapes at once. Missing pieces (view, viewer) make each step do nothing.
class OVRELCOMMON_EXPORT CImageProcessController : public CController
{
    Q_OBJECT
public:
    // Not owned. Binds to the viewer the view names first ("Image View [0]").
    explicit CImageProcessController(CImageProcessView* pView, QObject* parent = nullptr);
    ~CImageProcessController() override;

    // The bound viewer and its controller; null while unbound.
    CImageViewer* GetSourceView() const;
    CImageViewerController* GetSourceViewCtrl() const;

public slots:
    void slot_ChangeSourceImageView(const QString& strName);
    void slot_AddDrawableObjectWithViewID(int nViewID, uint nImageUID, uint nGeometryUID, QString strName);
    void slot_DeleteDrawableObjectWithViewID(int nViewID, uint nImageUID, uint nGeometryUID, QString strName);
    // The shape's entry shows its name and place again.
    void slot_ChangeDrawableObjectProperty(uint nUID);
    // The viewer dropped all its shapes at once (a new image replaced the current one): the ROI list empties, so that
    // a name of a shape that is gone cannot stand for the whole image in the next run.
    void slot_ClearDrawableObjects();

protected:
    // Restarts the run's timer.
    void StartProcess();
    // Shows "Processing Time %lld ms" (since StartProcess) in the view's message box and logs it.
    void EndProcess();
    // The geometry of the bound viewer's shape chosen in the view's ROI list (for an entry added by name alone, the
    // last shape of that name), or null (then the tool works on the whole image).
    std::shared_ptr<Ovrel::Geometry::COvrelGeometry> FindSourceRegion() const;
    // The run of a filter tool: filters a copy of the bound viewer's current image inside the chosen region, and only
    // when the filter returns 0 reports the processing time and makes the copy the viewer's current image as one undo
    // step (which also empties the viewer's shapes). False, changing nothing, when there is no view, viewer or
    // current image, the copy fails or the filter does.
    bool RunFilter(const std::function<int(Ovrel::Utils::COvrelImage& image,
                                           const Ovrel::Geometry::COvrelGeometry* pRegion)>& filter);

private:
    void ChangeSourceImageView(const QString& strName);

    QPointer<CImageProcessView> m_pView;
    QPointer<CImageViewerController> m_pSourceViewCtrl;
    QPointer<CImageViewer> m_pSourceView;
    QPointer<CDrawableObjectModel> m_pSourceObjects;
    QElapsedTimer m_timer;
};
