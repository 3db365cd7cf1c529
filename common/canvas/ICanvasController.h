#pragma once

#include <memory>

class CDrawableObjectModel;

namespace Ovrel
{
namespace Utils
{
class COvrelImage;
}
} // namespace Ovrel

// What the image commands of a canvas (the replacement of its current image) need from the controller that pushes
// them: its object model, a repaint, and its viewer's current image. The object commands hold the model they change.
class ICanvasController
{
public:
    virtual ~ICanvasController() = default;

    // The canvas's object model; may be null, and the commands then do nothing.
    virtual CDrawableObjectModel* GetDrawableObjectModel() const = 0;
    // Schedules a repaint of the canvas.
    virtual void RepaintCanvas() = 0;
    // The viewer's current image, or empty.
    virtual std::shared_ptr<Ovrel::Utils::COvrelImage> GetCurrentImage() const = 0;
    // Puts the image in place of the viewer's current image (into an empty list it is appended).
    virtual void ReplaceCurrentImage(std::shared_ptr<Ovrel::Utils::COvrelImage> pImage) = 0;
    // True while the objects belong to the current image itself (their boxes are stored with it elsewhere): a
    // replacement of the same size then keeps them. A controller without such a binding keeps the default.
    virtual bool AreObjectsBoundToCurrentImage() const { return false; }
};
