#include "canvas/CDrawableObject.h"

using Ovrel::Utils::COvrelObject;

CDrawableObject::CDrawableObject(EImageView2DDrawbleObjectType eType) : m_eType(eType) {}

CDrawableObject::~CDrawableObject() = default;

QString CDrawableObject::GetName() const
{
    if (m_bNameSet)
        return m_strName;
    return QString::asprintf("Object_%u", GetUID());
}

void CDrawableObject::SetName(const QString& strName)
{
    if (strName == m_strName)
        return;
    m_strName = strName;
    m_bNameSet = true;
    EmitChanged();
}

void CDrawableObject::SetSelected(bool bSelected)
{
    if (bSelected == m_bSelected)
        return;
    m_bSelected = bSelected;
    EmitChanged();
}

void CDrawableObject::SetDisplayName(bool bDisplayName)
{
    if (bDisplayName == m_bDisplayName)
        return;
    m_bDisplayName = bDisplayName;
    EmitChanged();
}

void CDrawableObject::SetMouseOffset(const QPointF& offset)
{
    // Qt's fuzzy comparison: a drag that lands on the same offset again is no change.
    if (offset == m_mouseOffset)
        return;
    m_mouseOffset = offset;
    EmitChanged();
}

void CDrawableObject::SetColour(const QColor& colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    EmitChanged();
}

void CDrawableObject::SetPen(const QPen& pen)
{
    m_pen = pen;
    EmitChanged();
}

void CDrawableObject::SetBrushFilled(const QBrush& brush)
{
    m_brushFilled = brush;
    EmitChanged();
}

bool CDrawableObject::CompareEqual(const QPointF& a, const QPointF& b)
{
    return COvrelObject::CompareEqual(a.x(), b.x()) && COvrelObject::CompareEqual(a.y(), b.y());
}

bool CDrawableObject::CompareEqual(double a, double b, double c, double d)
{
    return COvrelObject::CompareEqual(a, b) && COvrelObject::CompareEqual(c, d);
}
