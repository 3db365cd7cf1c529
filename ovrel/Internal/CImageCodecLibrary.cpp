#include "Internal/CImageCodecLibrary.h"

#include <cstdio>
#include <dlfcn.h>
#include <string>

namespace Ovrel
{
namespace Internal
{

namespace
{
const char* const PLUGIN_FILE = "libOvrelCodecs.so";

cv::Mat NoDecode(const std::vector<uchar>&, int)
{
    return cv::Mat();
}

cv::Mat NoRead(const std::string&, int)
{
    return cv::Mat();
}

bool NoWrite(const std::string&, const cv::Mat&)
{
    return false;
}

bool NoEncode(const std::string&, const cv::Mat&, std::vector<uchar>&)
{
    return false;
}

// The folder of the file this code was loaded from, with a separator; empty when the system cannot tell.
std::string OwnFolder()
{
    Dl_info info;
    if (::dladdr(reinterpret_cast<void*>(&NoDecode), &info) == 0 || !info.dli_fname)
        return std::string();
    const std::string strFile = info.dli_fname;
    const size_t nSlash = strFile.rfind('/');
    return nSlash == std::string::npos ? std::string() : strFile.substr(0, nSlash + 1);
}

SImageCodecs Load()
{
    // Beside this library first, where the build and the installation put it; then wherever the loader looks.
    const std::string strBeside = OwnFolder() + PLUGIN_FILE;
    void* pHandle = ::dlopen(strBeside.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!pHandle)
        pHandle = ::dlopen(PLUGIN_FILE, RTLD_NOW | RTLD_LOCAL);
    using FnEntry = const SImageCodecs* (*)();
    const auto fnEntry = pHandle ? reinterpret_cast<FnEntry>(::dlsym(pHandle, OVREL_IMAGE_CODECS_ENTRY)) : nullptr;
    const SImageCodecs* pCodecs = fnEntry ? fnEntry() : nullptr;
    if (!pCodecs)
    {
        const char* szError = ::dlerror();
        std::fprintf(stderr, "Cannot load the image codecs %s: %s\n", strBeside.c_str(), szError ? szError : "");
        return SImageCodecs{&NoDecode, &NoRead, &NoWrite, &NoEncode};
    }
    return *pCodecs;
}
} // namespace

const SImageCodecs& CImageCodecLibrary::Get()
{
    static const SImageCodecs s_codecs = Load();
    return s_codecs;
}

} // namespace Internal
} // namespace Ovrel
