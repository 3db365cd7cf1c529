#pragma once

#include <string>

namespace Ovrel
{
namespace Internal
{

// Text handling of wide-string paths. Paths are stored on disk as UTF-8 bytes.
class CPathText
{
public:
    static std::string ToUtf8(const std::wstring& strPath);
    // The part after the last '/' (the whole path when there is none).
    static std::wstring FileName(const std::wstring& strPath);
    // The part before the last '/' (empty when there is none).
    static std::wstring Folder(const std::wstring& strPath);
    // The extension after the file name's last '.', in lower case; empty when there is none.
    static std::string LowerExtension(const std::wstring& strPath);
};

} // namespace Internal
} // namespace Ovrel
