#include "Geometry/COvrelGeometryArray.h"

#include "Geometry/COvrelPoint.h"
#include "Geometry/COvrelRectangle.h"

#include <algorithm>

namespace Ovrel
{
namespace Geometry
{

COvrelGeometryArray::COvrelGeometryArray(const COvrelGeometryArray& other) : COvrelGeometry(other)
{
    *this = other;
}

COvrelGeometryArray& COvrelGeometryArray::operator=(const COvrelGeometryArray& other)
{
    if (this == &other)
        return *this;
    std::vector<std::shared_ptr<COvrelGeometry>> vctCopies;
    vctCopies.reserve(other.m_vctItems.size());
    for (const auto& pItem : other.m_vctItems)
        vctCopies.push_back(pItem->Clone());
    m_vctItems.swap(vctCopies);
    return *this;
}

COvrelGeometryArray::~COvrelGeometryArray() = default;

std::shared_ptr<COvrelGeometry> COvrelGeometryArray::At(int nIndex) const
{
    if (nIndex < 0 || nIndex >= Size())
        return nullptr;
    return m_vctItems[static_cast<size_t>(nIndex)];
}

Utils::EOvrelResult COvrelGeometryArray::AddGeometry(std::shared_ptr<COvrelGeometry> pGeometry)
{
    if (!pGeometry || pGeometry.get() == this)
        return Utils::EOvrelResult_InvalidArgument;
    m_vctItems.push_back(std::move(pGeometry));
    return Utils::EOvrelResult_OK;
}

COvrelRectangle COvrelGeometryArray::GetBoundary() const
{
    if (m_vctItems.empty())
        return COvrelRectangle();
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
    bool bFirst = true;
    for (const auto& pItem : m_vctItems)
    {
        const COvrelRectangle box = pItem->GetBoundary();
        if (bFirst)
        {
            left = box.left();
            top = box.top();
            right = box.right();
            bottom = box.bottom();
            bFirst = false;
            continue;
        }
        left = std::min(left, box.left());
        top = std::min(top, box.top());
        right = std::max(right, box.right());
        bottom = std::max(bottom, box.bottom());
    }
    return COvrelRectangle(left, top, right - left, bottom - top);
}

void COvrelGeometryArray::Translate(double dx, double dy)
{
    for (auto& pItem : m_vctItems)
        pItem->Translate(dx, dy);
}

Utils::EOvrelResult COvrelGeometryArray::Segmentize(COvrelGeometryArray& segments, COvrelGeometryArray& vertices) const
{
    // The members are gathered first so that passing this array as an output is harmless.
    COvrelGeometryArray allSegments;
    COvrelGeometryArray allVertices;
    for (const auto& pItem : m_vctItems)
    {
        COvrelGeometryArray itemSegments;
        COvrelGeometryArray itemVertices;
        const Utils::EOvrelResult result = pItem->Segmentize(itemSegments, itemVertices);
        if (result != Utils::EOvrelResult_OK)
            return result;
        allSegments.m_vctItems.insert(allSegments.m_vctItems.end(), itemSegments.m_vctItems.begin(),
                                      itemSegments.m_vctItems.end());
        allVertices.m_vctItems.insert(allVertices.m_vctItems.end(), itemVertices.m_vctItems.begin(),
                                      itemVertices.m_vctItems.end());
    }
    segments.m_vctItems.swap(allSegments.m_vctItems);
    vertices.m_vctItems.swap(allVertices.m_vctItems);
    return Utils::EOvrelResult_OK;
}

bool COvrelGeometryArray::Contained(const COvrelPoint& point) const
{
    return std::any_of(m_vctItems.begin(), m_vctItems.end(),
                       [&point](const auto& pItem) { return pItem->Contained(point); });
}

std::shared_ptr<COvrelGeometry> COvrelGeometryArray::Clone() const
{
    return std::make_shared<COvrelGeometryArray>(*this);
}

} // namespace Geometry
} // namespace Ovrel
