#pragma once

#include "OvrelCommonGlobal.h"

#include <QRunnable>

#include <memory>

class CImageView3DModel;

namespace Ovrel
{
namespace Utils
{
class COvrelImage;
}
} // namespace Ovrel

// One mesh build on a pool thread; the pool deletes it after it has run. The image is taken on the GUI thread when
// the build is started, so later changes to the viewer's list do not reach it. A build whose ticket has been
// superseded by the time it runs does nothing.
class OVRELCOMMON_EXPORT CInternalRunnable : public QRunnable
{
public:
    CInternalRunnable(CImageView3DModel* pModel, std::shared_ptr<Ovrel::Utils::COvrelImage> pImage,
                      unsigned int nTicket);

    void run() override;

private:
    CImageView3DModel* m_pModel;
    std::shared_ptr<Ovrel::Utils::COvrelImage> m_pImage;
    unsigned int m_nTicket;
};
