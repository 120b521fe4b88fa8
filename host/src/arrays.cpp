// Array storage and scratch memory of the own host (MATLAB's libmx).
#include "host/src/host_state.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace mexhost {

std::atomic<std::size_t> g_liveArrays{0};
std::atomic<std::size_t> g_liveScratch{0};
thread_local CallContext *t_call = nullptr;

std::size_t liveArrays() { return g_liveArrays.load(); }
std::size_t liveScratchBlocks() { return g_liveScratch.load(); }

namespace {

std::size_t classElementSize(mxClassID cls) {
    switch (cls) {
    case mxLOGICAL_CLASS:
    case mxINT8_CLASS:
    case mxUINT8_CLASS: return 1;
    case mxCHAR_CLASS:
    case mxINT16_CLASS:
    case mxUINT16_CLASS: return 2;
    case mxSINGLE_CLASS:
    case mxINT32_CLASS:
    case mxUINT32_CLASS: return 4;
    case mxDOUBLE_CLASS:
    case mxINT64_CLASS:
    case mxUINT64_CLASS: return 8;
    default: return 0;
    }
}

[[noreturn]] void outOfMemory() {
    throw CallError{"mexhost:outOfMemory", "Out of memory. The requested array is too large."};
}

// Element count of a dimension vector, or false when it overflows.
bool elementCount(const std::vector<mwSize> &dims, std::size_t &count) {
    count = 1;
    for (mwSize d : dims) {
        if (d != 0 && count > SIZE_MAX / d) return false;
        count *= d;
    }
    return true;
}

// A new array record of class `cls` with normalised dimensions, counted
// as live and owned by the call in progress; its data are the caller's.
mxArray *newRecord(mxClassID cls, const mwSize *dims, mwSize ndim, std::size_t elementSize) {
    std::vector<mwSize> d(dims, dims + ndim);
    while (d.size() < 2) d.push_back(d.empty() ? 0 : 1);
    while (d.size() > 2 && d.back() == 1) d.pop_back();
    std::size_t count = 0;
    if (!elementCount(d, count) || (elementSize && count > SIZE_MAX / elementSize)) outOfMemory();
    auto *a = new mxArray_tag;
    a->cls = cls;
    a->dims = std::move(d);
    a->count = count;
    a->elementSize = elementSize;
    ++g_liveArrays;
    if (t_call) t_call->arrays.insert(a);
    return a;
}

// An array stored in a cell or struct belongs to it from then on.
void adopt(mxArray *value) {
    if (value && t_call) t_call->arrays.erase(value);
}

std::size_t fieldIndex(const mxArray *s, const char *name) {
    for (std::size_t f = 0; f < s->fields.size(); ++f)
        if (s->fields[f] == name) return f;
    return s->fields.size();
}

template <typename T>
double firstAs(const void *p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return static_cast<double>(v);
}

// Data of `bytes` bytes (at least one, so that an empty array has a valid,
// distinct pointer), zero-filled or, when not, left as malloc gives them or
// filled with the pattern in a test build.
void *newData(std::size_t bytes, bool zero) {
    if (zero) return std::calloc(bytes ? bytes : 1, 1);
    void *p = std::malloc(bytes ? bytes : 1);
#if defined(GRIDMEX_FILL_UNINIT)
    if (p) fillUnwritten(p, bytes);
#endif
    return p;
}

}  // namespace

#if defined(GRIDMEX_FILL_UNINIT)
void fillUnwritten(void *data, std::size_t bytes) {
    auto *p = static_cast<unsigned char *>(data);
    for (std::size_t b = 0; b < bytes; ++b) p[b] = kUnwrittenBytes[b % 8];
}

std::size_t firstUnwritten(const mxArray *a) {
    if (!a->unfilled || !a->real) return a->count;
    const auto *p = static_cast<const unsigned char *>(a->real);
    const std::size_t size = a->elementSize;
    for (std::size_t i = 0; i < a->count; ++i) {
        bool same = true;
        for (std::size_t b = 0; b < size && same; ++b) same = p[i * size + b] == kUnwrittenBytes[(i * size + b) % 8];
        if (same) return i;
    }
    return a->count;
}
#endif

mxArray *newNumeric(mwSize ndim, const mwSize *dims, mxClassID cls, mxComplexity cx, bool zero) {
    std::size_t elementSize = classElementSize(cls);
    if (elementSize == 0) {
        throw CallError{"mexhost:unsupportedClass", "The own host creates numeric, logical and char arrays only."};
    }
    mxArray *a = newRecord(cls, dims, ndim, elementSize);
    const std::size_t bytes = a->count * elementSize;
    a->unfilled = !zero;
    a->real = newData(bytes, zero);
    if (cx == mxCOMPLEX) a->imag = newData(bytes, zero);
    if (!a->real || (cx == mxCOMPLEX && !a->imag)) {
        mxDestroyArray(a);
        outOfMemory();
    }
    return a;
}

mxArray *newFunctionHandle() {
    const mwSize dims[2] = {1, 1};
    return newRecord(mxFUNCTION_CLASS, dims, 2, 0);
}

mxArray *newBorrowedArray(mxClassID cls, mwSize ndim, const mwSize *dims, void *data) {
    mxArray *a = newRecord(cls, dims, ndim, classElementSize(cls));
    a->real = data;
    a->borrowed = true;
    return a;
}

void *takeData(mxArray *a) {
    if (a->borrowed) return nullptr;
    void *data = a->real;
    a->real = nullptr;
    return data;
}

void releaseData(void *data) { std::free(data); }

}  // namespace mexhost

using mexhost::CallError;
using mexhost::t_call;

extern "C" {

size_t mxGetM(const mxArray *a) { return a->dims[0]; }

size_t mxGetN(const mxArray *a) {
    size_t n = 1;
    for (std::size_t i = 1; i < a->dims.size(); ++i) n *= a->dims[i];
    return n;
}

size_t mxGetNumberOfElements(const mxArray *a) { return a->count; }
mwSize mxGetNumberOfDimensions(const mxArray *a) { return a->dims.size(); }
const mwSize *mxGetDimensions(const mxArray *a) { return a->dims.data(); }
size_t mxGetElementSize(const mxArray *a) { return a->elementSize; }

void *mxGetData(const mxArray *a) { return a->real; }
double *mxGetPr(const mxArray *a) { return static_cast<double *>(a->real); }
double *mxGetPi(const mxArray *a) { return static_cast<double *>(a->imag); }
void *mxGetImagData(const mxArray *a) { return a->imag; }

double mxGetScalar(const mxArray *a) {
    if (a->count == 0) return 0.0;
    const void *p = a->real;
    switch (a->cls) {
    case mxDOUBLE_CLASS: return mexhost::firstAs<double>(p);
    case mxSINGLE_CLASS: return mexhost::firstAs<float>(p);
    case mxLOGICAL_CLASS: return mexhost::firstAs<std::uint8_t>(p) != 0;
    case mxCHAR_CLASS: return mexhost::firstAs<std::uint16_t>(p);
    case mxINT8_CLASS: return mexhost::firstAs<std::int8_t>(p);
    case mxUINT8_CLASS: return mexhost::firstAs<std::uint8_t>(p);
    case mxINT16_CLASS: return mexhost::firstAs<std::int16_t>(p);
    case mxUINT16_CLASS: return mexhost::firstAs<std::uint16_t>(p);
    case mxINT32_CLASS: return mexhost::firstAs<std::int32_t>(p);
    case mxUINT32_CLASS: return mexhost::firstAs<std::uint32_t>(p);
    case mxINT64_CLASS: return mexhost::firstAs<std::int64_t>(p);
    case mxUINT64_CLASS: return mexhost::firstAs<std::uint64_t>(p);
    default: return 0.0;
    }
}

mxClassID mxGetClassID(const mxArray *a) { return a->cls; }

const char *mxGetClassName(const mxArray *a) {
    switch (a->cls) {
    case mxLOGICAL_CLASS: return "logical";
    case mxCHAR_CLASS: return "char";
    case mxDOUBLE_CLASS: return "double";
    case mxSINGLE_CLASS: return "single";
    case mxINT8_CLASS: return "int8";
    case mxUINT8_CLASS: return "uint8";
    case mxINT16_CLASS: return "int16";
    case mxUINT16_CLASS: return "uint16";
    case mxINT32_CLASS: return "int32";
    case mxUINT32_CLASS: return "uint32";
    case mxINT64_CLASS: return "int64";
    case mxUINT64_CLASS: return "uint64";
    case mxCELL_CLASS: return "cell";
    case mxSTRUCT_CLASS: return "struct";
    case mxFUNCTION_CLASS: return "function_handle";
    default: return "unknown";
    }
}

bool mxIsDouble(const mxArray *a) { return a->cls == mxDOUBLE_CLASS; }
bool mxIsInt32(const mxArray *a) { return a->cls == mxINT32_CLASS; }
bool mxIsLogical(const mxArray *a) { return a->cls == mxLOGICAL_CLASS; }
bool mxIsComplex(const mxArray *a) { return a->imag != nullptr; }
bool mxIsSparse(const mxArray *a) { return a->sparse; }
bool mxIsEmpty(const mxArray *a) { return a->count == 0; }
bool mxIsNumeric(const mxArray *a) { return a->cls >= mxDOUBLE_CLASS && a->cls <= mxUINT64_CLASS; }
bool mxIsChar(const mxArray *a) { return a->cls == mxCHAR_CLASS; }
bool mxIsCell(const mxArray *a) { return a->cls == mxCELL_CLASS; }
bool mxIsStruct(const mxArray *a) { return a->cls == mxSTRUCT_CLASS; }
bool mxIsFunctionHandle(const mxArray *a) { return a->cls == mxFUNCTION_CLASS; }

// Any numeric, logical or char class may be created here (MATLAB offers
// other constructors for logical and char; one is enough for tests).
mxArray *mxCreateNumericArray(mwSize ndim, const mwSize *dims, mxClassID cls, mxComplexity cx) {
    return mexhost::newNumeric(ndim, dims, cls, cx, true);
}

mxArray *mxCreateUninitNumericArray(mwSize ndim, const mwSize *dims, mxClassID cls, mxComplexity cx) {
    return mexhost::newNumeric(ndim, dims, cls, cx, false);
}

mxArray *mxCreateUninitNumericMatrix(mwSize m, mwSize n, mxClassID cls, mxComplexity cx) {
    mwSize dims[2] = {m, n};
    return mxCreateUninitNumericArray(2, dims, cls, cx);
}

mxArray *mxCreateNumericMatrix(mwSize m, mwSize n, mxClassID cls, mxComplexity cx) {
    mwSize dims[2] = {m, n};
    return mxCreateNumericArray(2, dims, cls, cx);
}

mxArray *mxCreateDoubleMatrix(mwSize m, mwSize n, mxComplexity cx) {
    return mxCreateNumericMatrix(m, n, mxDOUBLE_CLASS, cx);
}

mxArray *mxCreateDoubleScalar(double value) {
    mxArray *a = mxCreateDoubleMatrix(1, 1, mxREAL);
    *mxGetPr(a) = value;
    return a;
}

mxArray *mxCreateString(const char *text) {
    const std::size_t n = std::strlen(text);
    mxArray *a = mxCreateNumericMatrix(n ? 1 : 0, n, mxCHAR_CLASS, mxREAL);
    auto *chars = static_cast<mxChar *>(a->real);
    for (std::size_t i = 0; i < n; ++i) chars[i] = static_cast<unsigned char>(text[i]);
    return a;
}

mxArray *mxCreateCellMatrix(mwSize m, mwSize n) {
    mwSize dims[2] = {m, n};
    mxArray *a = mexhost::newRecord(mxCELL_CLASS, dims, 2, sizeof(mxArray *));
    a->elements.assign(a->count, nullptr);
    return a;
}

mxArray *mxGetCell(const mxArray *cell, mwIndex i) {
    return cell->cls == mxCELL_CLASS && i < cell->count ? cell->elements[i] : nullptr;
}

void mxSetCell(mxArray *cell, mwIndex i, mxArray *value) {
    if (cell->cls != mxCELL_CLASS || i >= cell->count) return;
    mexhost::adopt(value);
    cell->elements[i] = value;
}

mxArray *mxCreateStructMatrix(mwSize m, mwSize n, int nfields, const char **names) {
    mwSize dims[2] = {m, n};
    mxArray *a = mexhost::newRecord(mxSTRUCT_CLASS, dims, 2, sizeof(mxArray *));
    for (int f = 0; f < nfields; ++f) a->fields.emplace_back(names[f]);
    a->elements.assign(a->count * a->fields.size(), nullptr);
    return a;
}

int mxGetNumberOfFields(const mxArray *s) { return static_cast<int>(s->fields.size()); }

mxArray *mxGetField(const mxArray *s, mwIndex i, const char *name) {
    std::size_t f = mexhost::fieldIndex(s, name);
    if (s->cls != mxSTRUCT_CLASS || i >= s->count || f == s->fields.size()) return nullptr;
    return s->elements[i * s->fields.size() + f];
}

void mxSetField(mxArray *s, mwIndex i, const char *name, mxArray *value) {
    std::size_t f = mexhost::fieldIndex(s, name);
    if (s->cls != mxSTRUCT_CLASS || i >= s->count || f == s->fields.size()) return;
    mexhost::adopt(value);
    s->elements[i * s->fields.size() + f] = value;
}

void mxDestroyArray(mxArray *a) {
    if (!a) return;
    if (t_call) t_call->arrays.erase(a);
    for (mxArray *e : a->elements) mxDestroyArray(e);
    if (!a->borrowed) std::free(a->real);
    std::free(a->imag);
    delete a;
    --mexhost::g_liveArrays;
}

void *mxMalloc(size_t n) {
    void *p = std::malloc(n ? n : 1);
    if (!p) {
        if (t_call) mexhost::outOfMemory();
        return nullptr;
    }
    ++mexhost::g_liveScratch;
    if (t_call) t_call->scratch.insert(p);
    return p;
}

void *mxCalloc(size_t n, size_t size) {
    if (size != 0 && n > SIZE_MAX / size) {
        if (t_call) mexhost::outOfMemory();
        return nullptr;
    }
    void *p = mxMalloc(n * size);
    if (p) std::memset(p, 0, n * size);
    return p;
}

void mxFree(void *p) {
    if (!p) return;
    if (t_call) t_call->scratch.erase(p);
    std::free(p);
    --mexhost::g_liveScratch;
}

}  // extern "C"
