#pragma once

#include <opencv2/core.hpp>

namespace Ovrel
{
namespace Internal
{

// OpenCV's allocator for pixel buffers of several megabytes: the buffer starts on a 2 MB boundary and is offered
// to the kernel's transparent huge pages. Each new buffer of a photograph is otherwise touched page by page in
// 4 KB faults, which made a copy of a 12-megapixel picture cost three times its memcpy.
class CLargeBufferAllocator : public cv::MatAllocator
{
public:
    // Buffers below this size gain nothing from huge pages and go through OpenCV's own allocator.
    static constexpr size_t kMinBytes = 4u << 20;

    // Lives as long as the process: matrices may outlive any owner that could be named.
    static cv::MatAllocator* Instance();

    cv::UMatData* allocate(int nDims, const int* pSizes, int nType, void* pData, size_t* pSteps, cv::AccessFlag flags,
                           cv::UMatUsageFlags usage) const override;
    bool allocate(cv::UMatData* pData, cv::AccessFlag flags, cv::UMatUsageFlags usage) const override;
    void deallocate(cv::UMatData* pData) const override;
};

} // namespace Internal
} // namespace Ovrel
