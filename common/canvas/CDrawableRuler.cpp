#include "canvas/CDrawableRuler.h"

#include "Geometry/COvrelLine.h"

using Ovrel::Geometry::COvrelLine;

CDrawableRuler::CDrawableRuler() : CDrawableGeometry(EImageView2DDrawbleObjectType_Ruler, nullptr) {}

CDrawableRuler::CDrawableRuler(const QPointF& start, const QPointF& end)
    : CDrawableGeometry(EImageView2DDrawbleObjectType_Ruler,
                        std::make_shared<COvrelLine>(start.x(), start.y(), end.x(), end.y()))
{
}

CDrawableRuler::~CDrawableRuler() = default;

QPointF CDrawableRuler::GetPointText() const
{
    const auto* pLine = dynamic_cast<const COvrelLine*>(GetData().get());
    if (!pLine)
        return QPointF(0, 0);
    return QPointF(pLine->end().x(), pLine->end().y());
}
