#pragma once

#include "Geometry/COvrelGeometry.h"

#include <memory>
#include <vector>

namespace Ovrel
{
namespace Geometry
{

// An ordered collection of shapes. Members are shared pointers: AddGeometry stores the pointer it
// is given (pass Clone() for an independent copy). Copying the array copies the members deeply.
class OVREL_EXPORT COvrelGeometryArray : public COvrelGeometry
{
public:
    COvrelGeometryArray() = default;
    COvrelGeometryArray(const COvrelGeometryArray& other);
    COvrelGeometryArray& operator=(const COvrelGeometryArray& other);
    ~COvrelGeometryArray() override;

    int Size() const { return static_cast<int>(m_vctItems.size()); }

    // The member at the index, or null when the index is outside 0 .. Size() - 1.
    std::shared_ptr<COvrelGeometry> At(int nIndex) const;

    // Appends the shape. Fails with EOvrelResult_InvalidArgument for a null pointer or for the
    // array itself.
    virtual Utils::EOvrelResult AddGeometry(std::shared_ptr<COvrelGeometry> pGeometry);

    void Clear() { m_vctItems.clear(); }

    EGeometryType GetType() const override { return EGeometryType_GeometryArray; }
    COvrelRectangle GetBoundary() const override;
    void Translate(double dx, double dy) override;
    Utils::EOvrelResult Segmentize(COvrelGeometryArray& segments, COvrelGeometryArray& vertices) const override;
    bool Contained(const COvrelPoint& point) const override;
    std::shared_ptr<COvrelGeometry> Clone() const override;

protected:
    // Appends without the checks of AddGeometry, for subclasses that build their own members.
    void Append(std::shared_ptr<COvrelGeometry> pGeometry) { m_vctItems.push_back(std::move(pGeometry)); }

private:
    std::vector<std::shared_ptr<COvrelGeometry>> m_vctItems;
};

} // namespace Geometry
} // namespace Ovrel
