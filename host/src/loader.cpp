// Opening plug-ins by file name and calling their entry point with the
// host's rules for outputs, errors and scratch memory.
#include "host/src/host_state.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <new>
#include <stdexcept>
#include <string>
#include <utility>

namespace mexhost {

namespace {

// The system's calls for shared libraries: LoadLibrary and GetProcAddress on
// Windows, dlopen and dlsym elsewhere.
#if defined(_WIN32)
void *openLibrary(const std::string &path, std::string &why) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) why = "Windows error " + std::to_string(GetLastError());
    return reinterpret_cast<void *>(module);
}
void *findSymbol(void *library, const char *name) {
    return reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(library), name));
}
void closeLibrary(void *library) { FreeLibrary(static_cast<HMODULE>(library)); }
#else
void *openLibrary(const std::string &path, std::string &why) {
    void *library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) why = dlerror();
    return library;
}
void *findSymbol(void *library, const char *name) { return dlsym(library, name); }
void closeLibrary(void *library) { dlclose(library); }
#endif

// Restores the previous call context on every way out of a call.
class CallScope {
public:
    explicit CallScope(CallContext &context) : previous_(t_call) { t_call = &context; }
    ~CallScope() { t_call = previous_; }
    CallScope(const CallScope &) = delete;
    CallScope &operator=(const CallScope &) = delete;

private:
    CallContext *previous_;
};

void releaseLeftovers(CallContext &context) {
    for (mxArray *a : std::vector<mxArray *>(context.arrays.begin(), context.arrays.end())) {
        mxDestroyArray(a);
    }
    for (void *p : std::vector<void *>(context.scratch.begin(), context.scratch.end())) {
        mxFree(p);
    }
}

}  // namespace

CallResult callEntry(MexEntry entry, int nlhs, const std::vector<const mxArray *> &inputs) {
    CallResult result;
    CallContext context;
    // As in MATLAB, slot 0 exists even when no output is asked for.
    std::vector<mxArray *> plhs(static_cast<std::size_t>(nlhs > 0 ? nlhs : 1), nullptr);
    std::vector<const mxArray *> prhs(inputs);
    {
        CallScope scope(context);
        try {
            entry(nlhs, plhs.data(), static_cast<int>(prhs.size()), prhs.data());
            result.ok = true;
            for (int i = 0; i < nlhs; ++i) {
                const mxArray *out = plhs[static_cast<std::size_t>(i)];
                if (!out) {
                    throw CallError{"mexhost:unassignedOutput",
                                    "One or more output arguments not assigned during call."};
                }
#if defined(GRIDMEX_FILL_UNINIT)
                const std::size_t unwritten = firstUnwritten(out);
                if (unwritten < out->count) {
                    throw CallError{"mexhost:unwrittenOutput",
                                    "Output " + std::to_string(i + 1) + " was created uninitialised and its element " +
                                        std::to_string(unwritten + 1) + " was never written."};
                }
#endif
            }
        } catch (const CallError &e) {
            result.ok = false;
            result.errorId = e.id;
            result.errorText = e.text;
        } catch (const std::bad_alloc &) {
            result.ok = false;
            result.errorId = "mexhost:outOfMemory";
            result.errorText = "Out of memory.";
        } catch (...) {
            // Any other exception of the plug-in's own (where each file has
            // its C++ runtime linked in, also its bad_alloc): the call ends
            // with an error, not the caller's process.
            result.ok = false;
            result.errorId = "mexhost:pluginException";
            result.errorText = "The plug-in ended with an exception the host does not know (out of memory, for one).";
        }
    }
    if (result.ok) {
        for (mxArray *a : plhs) {
            if (!a) continue;
            context.arrays.erase(a);
            result.outputs.emplace_back(a);
        }
    }
    releaseLeftovers(context);
    result.console = std::move(context.console);
    return result;
}

CallContext *currentCall() { return t_call; }

bool checksUnwrittenOutputs() {
#if defined(GRIDMEX_FILL_UNINIT)
    return true;
#else
    return false;
#endif
}

void endCall(std::string id, std::string text) { throw CallError{std::move(id), std::move(text)}; }

Plugin::Plugin(const std::string &path) : path_(path) {
    std::string why;
    handle_ = openLibrary(path, why);
    if (!handle_) throw std::runtime_error("cannot open plug-in " + path + ": " + why);
    entry_ = reinterpret_cast<MexEntry>(findSymbol(handle_, "mexFunction"));
    if (!entry_) {
        closeLibrary(handle_);
        throw std::runtime_error("plug-in " + path + " does not export mexFunction");
    }
}

Plugin::~Plugin() { closeLibrary(handle_); }

void *Plugin::symbol(const char *name) const { return findSymbol(handle_, name); }

CallResult Plugin::call(int nlhs, const std::vector<const mxArray *> &inputs) const {
    return callEntry(entry_, nlhs, inputs);
}

void setSparse(mxArray *a, bool sparse) { a->sparse = sparse; }

}  // namespace mexhost
