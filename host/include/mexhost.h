// The own host's C++ side: opening a built plug-in by file name and calling
// it as MATLAB would, with the outputs, the error and the console text of
// the call handed back.  Tests, benchmarks and the fuzzer drive plug-ins
// only through this.
#ifndef GRIDMEX_MEXHOST_H
#define GRIDMEX_MEXHOST_H

#include "mex.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mexhost {

struct ArrayDeleter {
    void operator()(mxArray *a) const { mxDestroyArray(a); }
};
using ArrayPtr = std::unique_ptr<mxArray, ArrayDeleter>;

// What one call of a plug-in left behind.
struct CallResult {
    bool ok = false;                // the call ended without an error
    std::string errorId;            // identifier given to mexErrMsgIdAndTxt, or ""
    std::string errorText;          // the error message, or ""
    std::string console;            // everything the call printed with mexPrintf
    std::vector<ArrayPtr> outputs;  // the output slots, owned by the caller
};

using MexEntry = void (*)(int, mxArray **, int, const mxArray **);

class GRIDMEX_HOST_API Plugin {
public:
    // Opens the shared library at `path`; throws std::runtime_error when it
    // cannot be opened or does not export mexFunction.
    explicit Plugin(const std::string &path);
    ~Plugin();
    Plugin(const Plugin &) = delete;
    Plugin &operator=(const Plugin &) = delete;

    // Calls mexFunction with `nlhs` outputs asked for.  Arrays the call
    // created but did not return, and scratch it did not free, are released;
    // after a failed call the outputs are released too.
    CallResult call(int nlhs, const std::vector<const mxArray *> &inputs) const;

    // Looks up an exported symbol (nullptr when absent).
    void *symbol(const char *name) const;
    const std::string &path() const { return path_; }

private:
    std::string path_;
    void *handle_ = nullptr;
    MexEntry entry_ = nullptr;
};

// Calls an entry point that is linked in directly (for example a fuzzing
// target built into one binary) under the same rules as Plugin::call.
GRIDMEX_HOST_API CallResult callEntry(MexEntry entry, int nlhs, const std::vector<const mxArray *> &inputs);

// Marks an array as sparse.  The own host keeps the data dense; the flag
// lets tests check that plug-ins refuse sparse inputs as MATLAB passes them.
GRIDMEX_HOST_API void setSparse(mxArray *a, bool sparse);

// A 1 x 1 function handle, as MATLAB passes @sin (MATLAB's C interface has
// no constructor for one).
GRIDMEX_HOST_API mxArray *newFunctionHandle();

// An array of class `cls` whose elements are the caller's, read in place
// (column-major, as MATLAB stores them): a front end hands its own arrays to
// a plug-in this way without copying.  mxDestroyArray releases the record,
// never the data; the data must outlive the array.  A class the host cannot
// store (mxUNKNOWN_CLASS for an element type MATLAB does not have) is
// allowed: plug-ins refuse it by its class before they read any element.
GRIDMEX_HOST_API mxArray *newBorrowedArray(mxClassID cls, mwSize ndim, const mwSize *dims, void *data);

// Hands the data of an array created by the host to the caller, who frees it
// with releaseData (the array keeps no data, and mxDestroyArray then frees
// only the record).  Null for a borrowed array or one without data.
GRIDMEX_HOST_API void *takeData(mxArray *a);
GRIDMEX_HOST_API void releaseData(void *data);

// In a build of the host with GRIDMEX_FILL_UNINIT (the test builds) every
// element of an array created by mxCreateUninitNumericArray or
// mxCreateUninitNumericMatrix starts as this signalling NaN (a quiet NaN
// after any arithmetic, so only an element never written keeps it), and a
// call returning an output with an element that still holds it fails with
// "mexhost:unwrittenOutput": every harness that calls a plug-in through the
// host checks that outputs created uninitialised were written in full.
constexpr std::uint64_t kUnwrittenPattern = 0x7FF4A5A5A5A5A5A5u;
// Whether this build of the host fills and checks so.
GRIDMEX_HOST_API bool checksUnwrittenOutputs();

// Number of arrays and scratch blocks alive in the host, for leak checks.
GRIDMEX_HOST_API std::size_t liveArrays();
GRIDMEX_HOST_API std::size_t liveScratchBlocks();

}  // namespace mexhost

#endif
