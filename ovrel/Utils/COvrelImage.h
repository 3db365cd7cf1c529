#pragma once

#include "OvrelGlobal.h"
#include "Utils/COvrelObject.h"
#include "Utils/EOvrelResult.h"

#include <memory>
#include <string>

namespace Ovrel
{
namespace Geometry
{
class COvrelGeometry;
class COvrelPoint;
} // namespace Geometry

namespace Utils
{

// An image of 8-bit samples with 1 (grey), 3 (R, G, B) or 4 (R, G, B, A) channels, stored row by
// row from the top. Each row starts at a multiple of the row alignment given to Create (4 for
// loaded, copied-in and rendered images), so GetBytesPerLine() is width * channels rounded up to
// that multiple, and the pixel buffer can be wrapped by QImage (Grayscale8, RGB888, RGBA8888)
// without copying. A new image is empty: no pixels, width, height and channels 0.
//
// Pointers from GetData, GetRows, GetColumnOffsets and GetPixel stay valid until the next call of
// LoadFromFile, Create, CopyFrom, Rotate or a filter over the whole image (region null), which may
// move the pixels to a new buffer; filters with a region change the pixels in place.
// A copy (CopyFrom) shares the source's pixel buffer until either image is written: the first
// non-const GetData, GetRows or GetPixel, or filter, of an image whose buffer is shared moves that
// image to a buffer of its own (so it may fail, returning null, when memory runs out). Take the
// pointers you write through after the copy is made: a pointer taken before writes into both.
// Every operation leaves the image as it was when it fails.
class OVREL_EXPORT COvrelImage : public COvrelObject
{
public:
    COvrelImage();
    ~COvrelImage() override;
    COvrelImage(const COvrelImage&) = delete;
    COvrelImage& operator=(const COvrelImage&) = delete;

    // Reads bmp, jpg/jpeg, png, tif/tiff (and the other formats OpenCV decodes) with OpenCV, GIF
    // with Qt. The picture is turned by its EXIF orientation exactly as cv::imread with
    // IMREAD_COLOR turns it (JPEG and PNG EXIF data, a TIFF's own orientation), so the size is the
    // one the trainer sees. A file that stops before its picture is complete gives
    // EOvrelResult_DecodeFailed; a header claiming a picture over the size limit of Create gives
    // EOvrelResult_TooLarge before anything is decoded.
    // Samples deeper than 8 bits are scaled to 8 bits (16-bit: value / 257; float: value * 255
    // clamped); a grey image gives 1 channel, grey with alpha and colour with alpha give 4.
    // The path is UTF-8 on disk. On success the name becomes the file name and the folder the part
    // of the path before the last '/'.
    EOvrelResult LoadFromFile(const std::wstring& strPath);

    // Writes by the extension (case-insensitive): bmp, jpg, jpeg, png, tif, tiff. JPEG drops an
    // alpha channel. Anything else gives EOvrelResult_UnsupportedFormat.
    EOvrelResult SaveToFile(const std::wstring& strPath) const;

    // Makes a black (all samples 0) image. nChannels 1, 3 or 4; nBitsPerChannel 8; nImageType
    // EOvrelImageType_UInt8 (0); nRowAlignment a power of two from 1 to 64 (bytes). The buffer may
    // hold at most 2^31 - 1 bytes. Name and folder are kept.
    EOvrelResult Create(int nWidth, int nHeight, int nChannels, int nBitsPerChannel = 8, int nImageType = 0,
                        int nRowAlignment = 4);

    // As Create, but the samples are left undefined (only the padding at the row ends is cleared):
    // for callers that write every sample at once, which saves a pass over the whole buffer.
    EOvrelResult Allocate(int nWidth, int nHeight, int nChannels, int nRowAlignment = 4);

    // Copy of pixels, row alignment, name and folder (the UID stays this image's own); the pixels
    // are shared until one side is written (see above), so copying costs no time until then.
    // Copying an empty image empties this one. A null source is EOvrelResult_InvalidArgument.
    EOvrelResult CopyFrom(const COvrelImage& source);
    EOvrelResult CopyFrom(const COvrelImage* pSource);

    // Turns the picture by dblAngle radians; positive turns clockwise as the picture is seen (rows
    // run downwards). Angles within 1e-6 radians of a multiple of pi/2 (pi/2 given as a float, too)
    // move pixels exactly: +pi/2 and -pi/2 swap width and height.
    // Other angles enlarge the image so that the whole turned picture fits, resample with
    // nInterpolation (EOvrelInterpolation) and fill uncovered corners with dblBackground in every
    // channel. Because the result always holds the whole picture, the centre only has to be
    // finite; any centre gives the same pixels.
    EOvrelResult Rotate(double dblAngle, double dblBackground, int nInterpolation, const Geometry::COvrelPoint& center);

    // Filters that change exactly the pixels whose centre (x + 0.5, y + 0.5) the region's
    // Contained() holds (rectangle, ellipse, polygon, line, point or an array of them; null: the
    // whole image). A rectangle includes its edges; lines and points cover only the centres lying
    // on them. Pixels outside keep their values, but pixels inside see their real neighbours
    // outside the region. Beyond the image edge the pixels follow nBorderMode (EOvrelBorderMode),
    // over the whole image, as when no region is given, with dblBorderValue used by
    // EOvrelBorderMode_Constant. A region that covers no pixel gives EOvrelResult_OutOfRange.
    //
    // Median: median of each channel over a (2 * nRadiusX + 1) x (2 * nRadiusY + 1) window; the
    // window is square, so the radii must be equal, from 1 to 127 (1, 1 is 3 x 3).
    EOvrelResult Median(int nRadiusX, int nRadiusY, const Geometry::COvrelGeometry* pRegion, int nBorderMode,
                        double dblBorderValue);
    // Sobel: 3 x 3 Sobel derivative per colour channel, stored as min(255, |d|): SobelX the
    // horizontal derivative (responds to vertical edges), SobelY the vertical one, SobelXY
    // min(255, |dx| + |dy|). An alpha channel is kept as it was.
    EOvrelResult SobelX(const Geometry::COvrelGeometry* pRegion, int nBorderMode, double dblBorderValue);
    EOvrelResult SobelY(const Geometry::COvrelGeometry* pRegion, int nBorderMode, double dblBorderValue);
    EOvrelResult SobelXY(const Geometry::COvrelGeometry* pRegion, int nBorderMode, double dblBorderValue);

    bool IsEmpty() const;
    int GetWidth() const;
    int GetHeight() const;
    int GetChannels() const;
    int GetBitDepth() const;  // 8, or 0 when empty
    int GetImageType() const; // EOvrelImageType_UInt8
    int GetBytesPerLine() const;
    int GetRowAlignment() const;

    // First byte of the top row; null when empty.
    unsigned char* GetData();
    const unsigned char* GetData() const;
    // The pixel buffer of GetData with a share in its ownership: the bytes stay allocated while the
    // returned pointer or a copy of it lives, even after this image is destroyed or moves to a new
    // buffer. Changes made in place (filters with a region, writes through GetRows) show through,
    // except the first write after a CopyFrom shared the buffer, which moves this image away.
    // Null when empty.
    std::shared_ptr<const unsigned char> GetSharedData() const;
    // GetHeight() pointers, one to the first byte of each row; null when empty.
    unsigned char* const* GetRows();
    const unsigned char* const* GetRows() const;
    // GetWidth() byte offsets of the columns within a row (x * channels); null when empty.
    const int* GetColumnOffsets() const;
    // The channels of pixel (x, y); null outside the image.
    unsigned char* GetPixel(int x, int y);
    const unsigned char* GetPixel(int x, int y) const;

    const std::wstring& GetName() const;
    void SetName(const std::wstring& strName);
    const std::wstring& GetFolder() const;
    void SetFolder(const std::wstring& strFolder);

private:
    // The three Sobel filters differ only in the derivative orders.
    EOvrelResult Sobel(int nOrderX, int nOrderY, const Geometry::COvrelGeometry* pRegion, int nBorderMode,
                       double dblBorderValue);

    // False when the image needed a buffer of its own and none could be had.
    bool Detach();

    struct SImpl;
    std::unique_ptr<SImpl> m_pImpl;
};

} // namespace Utils
} // namespace Ovrel
