#pragma once

#include "OvrelCommonGlobal.h"
#include "canvas/CDrawableObjectCache.h"

#include <QRect>
#include <QWidget>

#include <memory>
#include <vector>

class CDrawableObject;
class CImageViewModeModel;
class QPainter;

// A widget that paints a list of drawable objects over an image rectangle: the window (image pixels) is mapped onto
// the viewport (widget pixels). Follows the mode model with its cursor. Objects that reach no part of the widget (with
// their handles and label) are skipped.
//
// A subclass may keep the painted objects in a cache: they are then painted again only after the list, the viewport,
// the window or the size changed, or InvalidateObjectCache was called, so repaints of what lies below (a crosshair,
// the image) do not repaint thousands of objects. An object that changes must then call for it (CImageView2D does on
// every announced property change), with InvalidateDrawableObject where only that object changed: then only the
// pixels it covered and covers are painted again. A list that gains or loses one object is repainted the same way.
class OVRELCOMMON_EXPORT CDrawableLayer : public QWidget
{
    Q_OBJECT
public:
    // The mode model is not owned and may be null.
    CDrawableLayer(CImageViewModeModel* pModeModel, QWidget* parent = nullptr);
    ~CDrawableLayer() override;

    // Ignores an empty pointer; otherwise appends and repaints.
    virtual void AddDrawableObject(std::shared_ptr<CDrawableObject> pObject);
    virtual void ClearDrawableObjects();
    virtual void SetViewport(const QRect& viewport);
    virtual void SetWindow(const QRect& window);
    virtual std::vector<std::shared_ptr<CDrawableObject>> GetDrawableObjects() const;
    // Paints below the objects, with identity mapping; nothing here.
    virtual void DrawBackground(QPainter* pPainter);

    int GetDrawableObjectCount() const { return static_cast<int>(m_vctObjects.size()); }
    QRect GetViewport() const { return m_viewport; }
    QRect GetWindow() const { return m_window; }

public slots:
    // Arrow for selecting, size-all for panning, cross for every drawing mode.
    void slot_ChangeViewMode();

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    // Off unless turned on.
    void SetCachesObjects(bool bCache);
    // The objects are painted afresh at the next repaint, which this schedules.
    void InvalidateObjectCache();
    // The listed object with that UID changed (or is no longer listed): the next repaint, which this schedules,
    // paints afresh only where it was and where it is.
    void InvalidateDrawableObject(unsigned int nUID);
    // Replace the whole list, or put one object in front of it, with one repaint (empty pointers are skipped).
    void SetDrawableObjects(std::vector<std::shared_ptr<CDrawableObject>> vctObjects);
    void InsertDrawableObjectAtFront(std::shared_ptr<CDrawableObject> pObject);
    // The painted object at nIndex, or empty.
    std::shared_ptr<CDrawableObject> GetDrawableObject(int nIndex) const;

    CImageViewModeModel* m_pModeModel = nullptr;

private:
    // Paints the objects that reach the area (widget pixels) through the viewport and window mapping.
    void PaintObjects(QPainter& painter, const QRect& area) const;

    QRect m_viewport;
    QRect m_window;
    std::vector<std::shared_ptr<CDrawableObject>> m_vctObjects;
    bool m_bCachesObjects = false;
    CDrawableObjectCache m_cache;
};
