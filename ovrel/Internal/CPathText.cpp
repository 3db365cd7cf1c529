#include "Internal/CPathText.h"

#include <QString>

namespace Ovrel
{
namespace Internal
{

std::string CPathText::ToUtf8(const std::wstring& strPath)
{
    return QString::fromStdWString(strPath).toStdString();
}

std::wstring CPathText::FileName(const std::wstring& strPath)
{
    const size_t slash = strPath.find_last_of(L'/');
    return slash == std::wstring::npos ? strPath : strPath.substr(slash + 1);
}

std::wstring CPathText::Folder(const std::wstring& strPath)
{
    const size_t slash = strPath.find_last_of(L'/');
    return slash == std::wstring::npos ? std::wstring() : strPath.substr(0, slash);
}

std::string CPathText::LowerExtension(const std::wstring& strPath)
{
    const std::wstring strName = FileName(strPath);
    const size_t dot = strName.find_last_of(L'.');
    if (dot == std::wstring::npos)
        return std::string();
    return QString::fromStdWString(strName.substr(dot + 1)).toLower().toStdString();
}

} // namespace Internal
} // namespace Ovrel
