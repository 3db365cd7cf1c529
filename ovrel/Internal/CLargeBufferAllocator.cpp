#include "Internal/CLargeBufferAllocator.h"

#include <cstdlib>
#include <sys/mman.h>

namespace Ovrel
{
namespace Internal
{

namespace
{
constexpr size_t kHugePage = 2u << 20;
// OpenCV's CV_AUTOSTEP: "no step given" in the steps an allocator receives.
constexpr size_t kAutoStep = 0x7fffffff;
} // namespace

cv::MatAllocator* CLargeBufferAllocator::Instance()
{
    static CLargeBufferAllocator* const pInstance = new CLargeBufferAllocator();
    return pInstance;
}

cv::UMatData* CLargeBufferAllocator::allocate(int nDims, const int* pSizes, int nType, void* pData, size_t* pSteps,
                                              cv::AccessFlag, cv::UMatUsageFlags) const
{
    // Steps as OpenCV's standard allocator fills them: packed rows unless the caller gave its own.
    size_t nTotal = CV_ELEM_SIZE(nType);
    for (int i = nDims - 1; i >= 0; --i)
    {
        if (pSteps)
        {
            if (pData && pSteps[i] != kAutoStep)
                nTotal = pSteps[i];
            else
                pSteps[i] = nTotal;
        }
        nTotal *= static_cast<size_t>(pSizes[i]);
    }
    uchar* pBytes = static_cast<uchar*>(pData);
    if (!pBytes)
    {
        const size_t nRounded = (nTotal + kHugePage - 1) / kHugePage * kHugePage;
        pBytes = static_cast<uchar*>(std::aligned_alloc(kHugePage, nRounded));
        if (!pBytes)
            CV_Error(cv::Error::StsNoMem, "Out of memory for a pixel buffer");
        // Only advice: where huge pages are off, the buffer simply keeps small pages.
        madvise(pBytes, nRounded, MADV_HUGEPAGE);
    }
    auto* pUData = new cv::UMatData(this);
    pUData->data = pUData->origdata = pBytes;
    pUData->size = nTotal;
    if (pData)
        pUData->flags |= cv::UMatData::USER_ALLOCATED;
    return pUData;
}

bool CLargeBufferAllocator::allocate(cv::UMatData* pData, cv::AccessFlag, cv::UMatUsageFlags) const
{
    return pData != nullptr;
}

void CLargeBufferAllocator::deallocate(cv::UMatData* pData) const
{
    if (!pData)
        return;
    if (!(pData->flags & cv::UMatData::USER_ALLOCATED))
        std::free(pData->origdata);
    delete pData;
}

} // namespace Internal
} // namespace Ovrel
