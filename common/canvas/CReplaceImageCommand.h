#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CUndoCommand.h"

#include <memory>

class ICanvasController;

namespace Ovrel
{
namespace Utils
{
class COvrelImage;
}
} // namespace Ovrel

// Puts a new image in place of the viewer's current one; undo puts back a copy of the image that was current when
// the command was made. Both directions empty the canvas's object model, since the objects belonged to the image
// that is leaving; objects bound to the image (see ICanvasController) stay when the incoming image has its size.
class OVRELCOMMON_EXPORT CReplaceImageCommand : public CUndoCommand
{
public:
    CReplaceImageCommand(ICanvasController* pController, std::shared_ptr<Ovrel::Utils::COvrelImage> pNewImage);
    ~CReplaceImageCommand() override;

    void Execute() override;
    void Undo() override;

    // True when both images exist and have the same width and height: boxes placed on one fit the other.
    static bool SameGeometry(const Ovrel::Utils::COvrelImage* pA, const Ovrel::Utils::COvrelImage* pB);

private:
    void MakeCurrent(const std::shared_ptr<Ovrel::Utils::COvrelImage>& pImage);

    ICanvasController* m_pController;
    std::shared_ptr<Ovrel::Utils::COvrelImage> m_pNewImage;
    std::shared_ptr<Ovrel::Utils::COvrelImage> m_pOldImage;
};
