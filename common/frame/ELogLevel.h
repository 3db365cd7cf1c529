#pragma once

#include <cstdint>

enum ELogLevel : int32_t
{
    ELogLevel_Normal = 0,
    ELogLevel_Debug = 1,
    ELogLevel_Warning = 2,
    ELogLevel_Error = 3
};
