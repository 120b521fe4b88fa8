// Internal state of the own host: the array record and the bookkeeping of
// the call in progress.
#ifndef GRIDMEX_HOST_STATE_H
#define GRIDMEX_HOST_STATE_H

#include "mexhost.h"

#include <atomic>
#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

struct mxArray_tag {
    mxClassID cls = mxDOUBLE_CLASS;
    bool sparse = false;       // a flag only: data stay dense
    std::vector<mwSize> dims;  // at least two entries
    std::size_t count = 0;     // product of dims
    std::size_t elementSize = 8;
    void *real = nullptr;
    void *imag = nullptr;                 // non-null for complex arrays
    bool borrowed = false;                // real is the caller's: never freed here
    bool unfilled = false;                // created uninitialised (and, in a test build, filled with the pattern)
    std::vector<mxArray_tag *> elements;  // cells: one per element; structs: one per element and field
    std::vector<std::string> fields;      // structs: the field names
};

namespace mexhost {

// Raised by mexErrMsgTxt and friends; unwinds through the plug-in to the
// caller of the entry point.
struct CallError {
    std::string id;
    std::string text;
};

// What the call in progress has created and not yet released.
struct CallContext {
    std::unordered_set<mxArray *> arrays;
    std::unordered_set<void *> scratch;
    std::string console;
};

extern std::atomic<std::size_t> g_liveArrays;
extern std::atomic<std::size_t> g_liveScratch;
extern thread_local CallContext *t_call;

// A new numeric array of class `cls`, zero-filled or not (see mex.h).
mxArray *newNumeric(mwSize ndim, const mwSize *dims, mxClassID cls, mxComplexity cx, bool zero);

#if defined(GRIDMEX_FILL_UNINIT)
// The bytes of kUnwrittenPattern in memory order, repeated over the data of
// every array created uninitialised.
inline constexpr unsigned char kUnwrittenBytes[8] = {
    static_cast<unsigned char>(kUnwrittenPattern),       static_cast<unsigned char>(kUnwrittenPattern >> 8),
    static_cast<unsigned char>(kUnwrittenPattern >> 16), static_cast<unsigned char>(kUnwrittenPattern >> 24),
    static_cast<unsigned char>(kUnwrittenPattern >> 32), static_cast<unsigned char>(kUnwrittenPattern >> 40),
    static_cast<unsigned char>(kUnwrittenPattern >> 48), static_cast<unsigned char>(kUnwrittenPattern >> 56)};
void fillUnwritten(void *data, std::size_t bytes);
// Index of the first element of `a` that still holds the pattern (the
// element count when none does, or when `a` was not created uninitialised).
std::size_t firstUnwritten(const mxArray *a);
#endif

// The call in progress on this thread, or nullptr.  The error report and the
// console live in libmex and reach the call context of libmx through this.
GRIDMEX_HOST_API CallContext *currentCall();

// Ends the call in progress with a CallError.  It is thrown in libmx, where
// callEntry catches it: where each library has the C++ runtime linked into it
// (the Python wheels), a type's identity is its library's, and an error of a
// type thrown in libmex would pass libmx's catch.
[[noreturn]] GRIDMEX_HOST_API void endCall(std::string id, std::string text);

}  // namespace mexhost

#endif
