#pragma once

#include "OvrelCommonGlobal.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

namespace Ovrel
{
namespace Utils
{
class COvrelImage;
}
} // namespace Ovrel

// Turns an image file or a PDF document into library images for a canvas. Failures are told to the user here, with a
// critical message box through the prompt seam, and end with an empty list; the caller decides what an empty list
// does to its viewer. The password of a locked PDF is asked for through the same seam.
class OVRELCOMMON_EXPORT CCanvasImageLoader
{
public:
    using ImagePtr = std::shared_ptr<Ovrel::Utils::COvrelImage>;
    using ImageList = std::vector<ImagePtr>;

    // The parent of the prompts (may be null).
    explicit CCanvasImageLoader(QWidget* pParent);

    // A PDF is told by the file's extension, in any case; the rest of the path (folder, base name) does not count.
    static bool IsPdfPath(const QString& strPath);

    // One image, or none after "Cannot load image %s".
    ImageList LoadImageFile(const QString& strPath) const;
    // One image per page at the resolution of the settings, named after the file and placed in its folder. A page
    // that does not render ends the list there, silently; a document that cannot be opened (or unlocked with the
    // password the user types) or has no pages gives none after "Cannot load pdf file %s".
    ImageList LoadPdfFile(const QString& strPath) const;
    // LoadPdfFile for a PDF path, LoadImageFile for any other.
    ImageList LoadFile(const QString& strPath) const;

private:
    void ShowFailure(const char* szFormat, const QString& strPath) const;

    QPointer<QWidget> m_pParent;
};
