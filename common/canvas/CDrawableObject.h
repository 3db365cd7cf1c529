#pragma once

#include "OvrelCommonGlobal.h"
#include "canvas/EImageView2DDrawbleObjectType.h"

#include "Utils/COvrelObject.h"

#include <QBrush>
#include <QColor>
#include <QObject>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVariant>

// A shape over the image of a 2D canvas, in image pixels. Objects are held by std::shared_ptr and shared by the object
// model, the canvas layers, undo commands and callers. The UID comes from the imaging library's object base and never
// changes. Every change of a property that the canvas shows is announced with signal_ChangeDrawableObjectProperty.
class OVRELCOMMON_EXPORT CDrawableObject : public QObject, public Ovrel::Utils::COvrelObject
{
    Q_OBJECT
public:
    explicit CDrawableObject(EImageView2DDrawbleObjectType eType);
    ~CDrawableObject() override;

    // The name given by SetName; until one was stored, a name made from the object's kind and UID.
    virtual QString GetName() const;
    // Bounding box in image pixels.
    virtual QRectF GetBoundary() const = 0;
    // Moves the object so that the top-left corner of its bounding box lands on the point.
    virtual void MoveTopLeftTo(const QPointF& point) = 0;
    // Looks for a resize handle within dblTolerance of the point; on success the handle's exact position goes to
    // foundPoint, ready to be passed to MoveResizePoint. The last argument is reserved (callers pass 0.0).
    virtual bool FindResizePoint(double dblTolerance, const QPointF& point, QPointF& foundPoint,
                                 double dblReserved) const = 0;
    // Moves the handle found exactly at fromPoint to toPoint; nothing when no handle is there.
    virtual void MoveResizePoint(const QPointF& fromPoint, const QPointF& toPoint) = 0;

    EImageView2DDrawbleObjectType GetType() const { return m_eType; }

    // Stores the name when it differs from the stored one; an empty name on a fresh object therefore stores nothing.
    void SetName(const QString& strName);

    void SetSelected(bool bSelected);
    bool GetSelected() const { return m_bSelected; }

    // Whether the canvas draws the name label.
    void SetDisplayName(bool bDisplayName);
    bool GetDisplayName() const { return m_bDisplayName; }

    // Where the object was grabbed, relative to its boundary's top-left, while it is dragged.
    void SetMouseOffset(const QPointF& offset);
    QPointF GetMouseOffset() const { return m_mouseOffset; }

    // The colour the canvas draws the object in, given by its owner (the training program gives each box its class's).
    // Invalid (the default) keeps the canvas's own colours, red when selected and green otherwise. A selected object
    // with a colour of its own stands out by a thicker outline, not by colour. Announces a change when it changed.
    void SetColour(const QColor& colour);
    QColor GetColour() const { return m_colour; }

    // Stored only: painting uses its own colours. Setting them always announces a change.
    void SetPen(const QPen& pen);
    QPen GetPen() const { return m_pen; }
    void SetBrushFilled(const QBrush& brush);
    QBrush GetBrushFilled() const { return m_brushFilled; }

    // The caller's own value (the training program keeps its record data here). Changing it announces nothing.
    void SetExtraInfo(const QVariant& extraInfo) { m_extraInfo = extraInfo; }
    QVariant GetExtraInfo() const { return m_extraInfo; }

    // The imaging library's tolerant equality, for both coordinates of two points or for two pairs of values.
    static bool CompareEqual(const QPointF& a, const QPointF& b);
    static bool CompareEqual(double a, double b, double c, double d);

signals:
    void signal_ChangeDrawableObjectProperty(uint nUID);

protected:
    bool IsNameSet() const { return m_bNameSet; }
    const QString& StoredName() const { return m_strName; }
    void EmitChanged() { emit signal_ChangeDrawableObjectProperty(GetUID()); }

private:
    EImageView2DDrawbleObjectType m_eType;
    QString m_strName;
    bool m_bNameSet = false;
    bool m_bSelected = false;
    bool m_bDisplayName = true;
    QVariant m_extraInfo;
    QPointF m_mouseOffset;
    QPen m_pen = QPen(Qt::NoPen);
    QBrush m_brushFilled = QBrush(Qt::NoBrush);
    QColor m_colour;
};
