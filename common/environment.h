// One environment variable as the process sees it now.  On Windows the C
// runtime's getenv reads the runtime's own copy of the environment, taken at
// start-up and changed only through that runtime's _putenv: MATLAB's setenv,
// and any other runtime's, change the Win32 environment, which is read here.
#ifndef GRIDMEX_ENVIRONMENT_H
#define GRIDMEX_ENVIRONMENT_H

#include <cstdlib>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace grid {

// The whole number that the variable `name` starts with; 0 when it is not
// set (or holds 32 characters or more, which no count needs).
inline long environmentNumber(const char *name) {
#if defined(_WIN32)
    char value[32];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    if (n == 0 || n >= sizeof value) return 0;
    return std::strtol(value, nullptr, 10);
#else
    const char *value = std::getenv(name);
    return value ? std::strtol(value, nullptr, 10) : 0;
#endif
}

}  // namespace grid

#endif
