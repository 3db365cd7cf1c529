#pragma once

#if defined(OVREL_LIBRARY)
#define OVREL_EXPORT __attribute__((visibility("default")))
#else
#define OVREL_EXPORT
#endif
