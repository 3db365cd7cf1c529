#include "Utils/COvrelImage.h"

#include "Geometry/COvrelPoint.h"
#include "Internal/CAlignedMat.h"
#include "Internal/CImageCodec.h"
#include "Internal/CImageFilter.h"
#include "Internal/CImageRotation.h"
#include "Internal/CPathText.h"
#include "Utils/EOvrelImageType.h"

#include <opencv2/core.hpp>

#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace Ovrel
{
namespace Utils
{

using Internal::CAlignedMat;

namespace
{

constexpr int kDefaultRowAlignment = 4;

// Library failures inside an operation become result codes; nothing escapes to the caller.
template <typename Operation> EOvrelResult Guarded(Operation operation)
{
    try
    {
        return operation();
    }
    catch (const std::bad_alloc&)
    {
        return EOvrelResult_TooLarge;
    }
    catch (const cv::Exception&)
    {
        return EOvrelResult_LibraryError;
    }
}

} // namespace

struct COvrelImage::SImpl
{
    // 8-bit, 1, 3 or 4 channels; rows laid out as CAlignedMat promises for nRowAlignment.
    cv::Mat pixels;
    int nRowAlignment = kDefaultRowAlignment;
    std::vector<unsigned char*> vctRows;
    std::vector<int> vctColumnOffsets;
    std::wstring strName;
    std::wstring strFolder;
    // One token per pixel buffer, held by every image that shares the buffer through CopyFrom: the buffer may be
    // written in place only while this image holds the token alone. (GetSharedData's keepers do not hold it: they
    // only read.)
    std::shared_ptr<const int> pShare;

    // Takes over a matrix as the image's pixels, copying only when its layout does not fit.
    EOvrelResult Adopt(const cv::Mat& mat, int nAlignment)
    {
        cv::Mat aligned;
        const EOvrelResult result = CAlignedMat::MakeAligned(mat, nAlignment, aligned);
        if (result != EOvrelResult_OK)
            return result;
        std::vector<unsigned char*> rows(static_cast<size_t>(aligned.rows));
        for (int y = 0; y < aligned.rows; ++y)
            rows[static_cast<size_t>(y)] = aligned.ptr<unsigned char>(y);
        std::vector<int> offsets(static_cast<size_t>(aligned.cols));
        for (int x = 0; x < aligned.cols; ++x)
            offsets[static_cast<size_t>(x)] = x * aligned.channels();
        // The same buffer again (a turn by nothing, a filter in place) keeps its token: copies may still share it.
        const bool bSameBuffer = pShare && aligned.u == pixels.u && aligned.data == pixels.data;
        std::shared_ptr<const int> pToken = bSameBuffer ? pShare : std::make_shared<const int>(0);
        pixels = aligned;
        nRowAlignment = nAlignment;
        vctRows.swap(rows);
        vctColumnOffsets.swap(offsets);
        pShare = std::move(pToken);
        return EOvrelResult_OK;
    }

    void Reset()
    {
        pixels.release();
        vctRows.clear();
        vctColumnOffsets.clear();
        pShare.reset();
    }

    bool IsShared() const { return pShare && pShare.use_count() > 1; }

    // Gives the image a buffer of its own before it is written, when a copy still shares the current one.
    EOvrelResult Detach()
    {
        if (!IsShared())
            return EOvrelResult_OK;
        cv::Mat own;
        const EOvrelResult result =
            CAlignedMat::Allocate(pixels.cols, pixels.rows, pixels.channels(), nRowAlignment, own);
        if (result != EOvrelResult_OK)
            return result;
        CAlignedMat::Copy(pixels, own);
        return Adopt(own, nRowAlignment);
    }
};

COvrelImage::COvrelImage() : m_pImpl(std::make_unique<SImpl>()) {}

COvrelImage::~COvrelImage() = default;

EOvrelResult COvrelImage::LoadFromFile(const std::wstring& strPath)
{
    return Guarded(
        [&]
        {
            cv::Mat decoded;
            const EOvrelResult result = Internal::CImageCodec::Decode(strPath, decoded);
            if (result != EOvrelResult_OK)
                return result;
            const EOvrelResult adopted = m_pImpl->Adopt(decoded, kDefaultRowAlignment);
            if (adopted != EOvrelResult_OK)
                return adopted;
            m_pImpl->strName = Internal::CPathText::FileName(strPath);
            m_pImpl->strFolder = Internal::CPathText::Folder(strPath);
            return EOvrelResult_OK;
        });
}

EOvrelResult COvrelImage::SaveToFile(const std::wstring& strPath) const
{
    return Guarded([&] { return Internal::CImageCodec::Encode(strPath, m_pImpl->pixels); });
}

EOvrelResult COvrelImage::Create(int nWidth, int nHeight, int nChannels, int nBitsPerChannel, int nImageType,
                                 int nRowAlignment)
{
    if (nChannels == 2 || nBitsPerChannel != 8 || nImageType != EOvrelImageType_UInt8)
        return EOvrelResult_InvalidArgument;
    return Guarded(
        [&]
        {
            cv::Mat created;
            const EOvrelResult result = CAlignedMat::Allocate(nWidth, nHeight, nChannels, nRowAlignment, created);
            if (result != EOvrelResult_OK)
                return result;
            // The row padding is cleared as well, so the whole buffer has defined bytes.
            for (int y = 0; y < created.rows; ++y)
                std::memset(created.ptr(y), 0, created.step[0]);
            return m_pImpl->Adopt(created, nRowAlignment);
        });
}

EOvrelResult COvrelImage::Allocate(int nWidth, int nHeight, int nChannels, int nRowAlignment)
{
    if (nChannels == 2)
        return EOvrelResult_InvalidArgument;
    return Guarded(
        [&]
        {
            cv::Mat allocated;
            const EOvrelResult result = CAlignedMat::Allocate(nWidth, nHeight, nChannels, nRowAlignment, allocated);
            if (result != EOvrelResult_OK)
                return result;
            const size_t nPacked = static_cast<size_t>(nWidth) * static_cast<size_t>(nChannels);
            if (allocated.step[0] > nPacked)
                for (int y = 0; y < allocated.rows; ++y)
                    std::memset(allocated.ptr(y) + nPacked, 0, allocated.step[0] - nPacked);
            return m_pImpl->Adopt(allocated, nRowAlignment);
        });
}

EOvrelResult COvrelImage::CopyFrom(const COvrelImage& source)
{
    if (&source == this)
        return EOvrelResult_OK;
    return Guarded(
        [&]
        {
            if (source.m_pImpl->pixels.empty())
            {
                m_pImpl->Reset();
            }
            else
            {
                // The buffer is shared until one of the two images is written: the copy itself costs nothing, which
                // matters where an image is copied only to be kept as it is (an undo step, say).
                std::vector<unsigned char*> rows = source.m_pImpl->vctRows;
                std::vector<int> offsets = source.m_pImpl->vctColumnOffsets;
                m_pImpl->pixels = source.m_pImpl->pixels;
                m_pImpl->vctRows.swap(rows);
                m_pImpl->vctColumnOffsets.swap(offsets);
                m_pImpl->pShare = source.m_pImpl->pShare;
            }
            m_pImpl->nRowAlignment = source.m_pImpl->nRowAlignment;
            m_pImpl->strName = source.m_pImpl->strName;
            m_pImpl->strFolder = source.m_pImpl->strFolder;
            return EOvrelResult_OK;
        });
}

EOvrelResult COvrelImage::CopyFrom(const COvrelImage* pSource)
{
    if (!pSource)
        return EOvrelResult_InvalidArgument;
    return CopyFrom(*pSource);
}

EOvrelResult COvrelImage::Rotate(double dblAngle, double dblBackground, int nInterpolation,
                                 const Geometry::COvrelPoint& center)
{
    if (!std::isfinite(center.x()) || !std::isfinite(center.y()))
        return EOvrelResult_InvalidArgument;
    return Guarded(
        [&]
        {
            cv::Mat turned;
            const EOvrelResult result = Internal::CImageRotation::Rotate(
                m_pImpl->pixels, m_pImpl->nRowAlignment, dblAngle, dblBackground, nInterpolation, turned);
            if (result != EOvrelResult_OK)
                return result;
            return m_pImpl->Adopt(turned, m_pImpl->nRowAlignment);
        });
}

EOvrelResult COvrelImage::Median(int nRadiusX, int nRadiusY, const Geometry::COvrelGeometry* pRegion, int nBorderMode,
                                 double dblBorderValue)
{
    return Guarded(
        [&]
        {
            cv::Mat pixels = m_pImpl->pixels;
            const EOvrelResult result =
                Internal::CImageFilter::Median(pixels, m_pImpl->IsShared(), m_pImpl->nRowAlignment, nRadiusX, nRadiusY,
                                               pRegion, nBorderMode, dblBorderValue);
            if (result != EOvrelResult_OK)
                return result;
            return m_pImpl->Adopt(pixels, m_pImpl->nRowAlignment);
        });
}

EOvrelResult COvrelImage::Sobel(int nOrderX, int nOrderY, const Geometry::COvrelGeometry* pRegion, int nBorderMode,
                                double dblBorderValue)
{
    return Guarded(
        [&]
        {
            cv::Mat pixels = m_pImpl->pixels;
            const EOvrelResult result =
                Internal::CImageFilter::Sobel(pixels, m_pImpl->IsShared(), m_pImpl->nRowAlignment, nOrderX, nOrderY,
                                              pRegion, nBorderMode, dblBorderValue);
            return result != EOvrelResult_OK ? result : m_pImpl->Adopt(pixels, m_pImpl->nRowAlignment);
        });
}

EOvrelResult COvrelImage::SobelX(const Geometry::COvrelGeometry* pRegion, int nBorderMode, double dblBorderValue)
{
    return Sobel(1, 0, pRegion, nBorderMode, dblBorderValue);
}

EOvrelResult COvrelImage::SobelY(const Geometry::COvrelGeometry* pRegion, int nBorderMode, double dblBorderValue)
{
    return Sobel(0, 1, pRegion, nBorderMode, dblBorderValue);
}

EOvrelResult COvrelImage::SobelXY(const Geometry::COvrelGeometry* pRegion, int nBorderMode, double dblBorderValue)
{
    return Sobel(1, 1, pRegion, nBorderMode, dblBorderValue);
}

bool COvrelImage::IsEmpty() const
{
    return m_pImpl->pixels.empty();
}

int COvrelImage::GetWidth() const
{
    return m_pImpl->pixels.cols;
}

int COvrelImage::GetHeight() const
{
    return m_pImpl->pixels.rows;
}

int COvrelImage::GetChannels() const
{
    return IsEmpty() ? 0 : m_pImpl->pixels.channels();
}

int COvrelImage::GetBitDepth() const
{
    return IsEmpty() ? 0 : 8;
}

int COvrelImage::GetImageType() const
{
    return EOvrelImageType_UInt8;
}

int COvrelImage::GetBytesPerLine() const
{
    return IsEmpty() ? 0 : static_cast<int>(m_pImpl->pixels.step[0]);
}

int COvrelImage::GetRowAlignment() const
{
    return m_pImpl->nRowAlignment;
}

unsigned char* COvrelImage::GetData()
{
    return IsEmpty() || !Detach() ? nullptr : m_pImpl->pixels.data;
}

const unsigned char* COvrelImage::GetData() const
{
    return IsEmpty() ? nullptr : m_pImpl->pixels.data;
}

std::shared_ptr<const unsigned char> COvrelImage::GetSharedData() const
{
    if (IsEmpty())
        return nullptr;
    // A matrix header shares the buffer through OpenCV's reference count; the returned pointer
    // owns that header and points at its first byte.
    const auto pKeeper = std::make_shared<const cv::Mat>(m_pImpl->pixels);
    return std::shared_ptr<const unsigned char>(pKeeper, pKeeper->data);
}

unsigned char* const* COvrelImage::GetRows()
{
    return IsEmpty() || !Detach() ? nullptr : m_pImpl->vctRows.data();
}

const unsigned char* const* COvrelImage::GetRows() const
{
    return IsEmpty() ? nullptr : m_pImpl->vctRows.data();
}

const int* COvrelImage::GetColumnOffsets() const
{
    return IsEmpty() ? nullptr : m_pImpl->vctColumnOffsets.data();
}

unsigned char* COvrelImage::GetPixel(int x, int y)
{
    if (x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight() || !Detach())
        return nullptr;
    return m_pImpl->vctRows[static_cast<size_t>(y)] + m_pImpl->vctColumnOffsets[static_cast<size_t>(x)];
}

const unsigned char* COvrelImage::GetPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight())
        return nullptr;
    return m_pImpl->vctRows[static_cast<size_t>(y)] + m_pImpl->vctColumnOffsets[static_cast<size_t>(x)];
}

bool COvrelImage::Detach()
{
    return Guarded([&] { return m_pImpl->Detach(); }) == EOvrelResult_OK;
}

const std::wstring& COvrelImage::GetName() const
{
    return m_pImpl->strName;
}

void COvrelImage::SetName(const std::wstring& strName)
{
    m_pImpl->strName = strName;
}

const std::wstring& COvrelImage::GetFolder() const
{
    return m_pImpl->strFolder;
}

void COvrelImage::SetFolder(const std::wstring& strFolder)
{
    m_pImpl->strFolder = strFolder;
}

} // namespace Utils
} // namespace Ovrel
