// setenv and unsetenv, with which tests choose GRIDMEX_THREADS, over the
// Windows C runtime.  _putenv_s also sets the Win32 environment, which the
// plug-ins read (common/environment.h), so they see the change.  The Windows build
// force-includes this header in every test program.
#ifndef GRIDMEX_SETENV_WINDOWS_H
#define GRIDMEX_SETENV_WINDOWS_H

#include <stdlib.h>

inline int setenv(const char *name, const char *value, int overwrite) {
    if (!overwrite && getenv(name)) return 0;
    return _putenv_s(name, value);
}

// An empty value removes the variable.
inline int unsetenv(const char *name) { return _putenv_s(name, ""); }

#endif
