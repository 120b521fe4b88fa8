/* The interface-version export that MATLAB's Linux and macOS loaders look
 * up: this plug-in was built against the 64-bit-size API of release 2017b.
 * The value differs by system; Windows plug-ins have no such export.  Plain
 * C, so that it also serves as the interface-version source of the stand-in
 * MATLAB tree the tests make. */
#include "common/compiler.h"

#if defined(__APPLE__)
#define GRIDMEX_BUILT_BY_RELEASE 131450u
#else
#define GRIDMEX_BUILT_BY_RELEASE 131451u
#endif

GRIDMEX_VISIBLE void mexfilerequiredapiversion(unsigned int *builtByRelease, unsigned int *targetApiVersion) {
    *builtByRelease = GRIDMEX_BUILT_BY_RELEASE;
    *targetApiVersion = 0;
}
