#pragma once

#include "Utils/EOvrelResult.h"

#include <QImage>

#include <memory>

namespace Poppler
{
class Document;
}

namespace Ovrel
{
namespace Internal
{

// Renders PDF pages with a time limit. Poppler checks an abort callback only between drawing
// operations, and a single operation (an image claiming two billion rows, say) can run for
// minutes, so the page is rendered on a thread of its own and the caller waits only until the
// limit. A page that is not done by then is abandoned: it is told to abort and finishes in the
// background with its own share of the document; unloading the library waits a little for it.
class CPageRenderer
{
public:
    // EOvrelResult_OK with the rendered page, EOvrelResult_DecodeFailed when Poppler gives no
    // image, EOvrelResult_TimedOut when the page took longer than nLimitMs. After a time-out the
    // document is still in use by the abandoned render and must not be used by the caller again.
    static Utils::EOvrelResult Render(const std::shared_ptr<Poppler::Document>& pDocument, int nPage, double dblDpiX,
                                      double dblDpiY, int nLimitMs, QImage& result);
};

} // namespace Internal
} // namespace Ovrel
