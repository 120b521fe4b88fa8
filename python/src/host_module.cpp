// gridmex._host: the Python extension as a MEX host.  It opens the own-host
// plug-in files with the host's loader, hands the caller's NumPy arrays to a
// plug-in's mexFunction as host arrays that borrow their memory, and returns
// the outputs as NumPy arrays that own the memory the host created.  The
// plug-in runs without the GIL; the host keeps the state of a call per
// thread, so calls from several Python threads run side by side.
#include "mexhost.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace py = pybind11;
using namespace pybind11::literals;

namespace {

using mexhost::ArrayPtr;

// The class MATLAB gives the elements of a NumPy dtype, and whether the
// dtype is complex (its real and imaginary parts then go to separate host
// storage).  A dtype MATLAB has no class for gives mxUNKNOWN_CLASS.
struct ClassOf {
    mxClassID cls = mxUNKNOWN_CLASS;
    bool complex = false;
};

ClassOf classOf(const py::dtype &dtype) {
    const char kind = dtype.kind();
    const auto size = dtype.itemsize();
    if (kind == 'b') return {mxLOGICAL_CLASS, false};
    if (kind == 'f' && size == 8) return {mxDOUBLE_CLASS, false};
    if (kind == 'f' && size == 4) return {mxSINGLE_CLASS, false};
    if (kind == 'c' && size == 16) return {mxDOUBLE_CLASS, true};
    if (kind == 'c' && size == 8) return {mxSINGLE_CLASS, true};
    if (kind == 'i' || kind == 'u') {
        const bool s = kind == 'i';
        switch (size) {
        case 1: return {s ? mxINT8_CLASS : mxUINT8_CLASS, false};
        case 2: return {s ? mxINT16_CLASS : mxUINT16_CLASS, false};
        case 4: return {s ? mxINT32_CLASS : mxUINT32_CLASS, false};
        case 8: return {s ? mxINT64_CLASS : mxUINT64_CLASS, false};
        default: break;
        }
    }
    return {};
}

// The MATLAB size of a NumPy shape: a 0-d array is 1 x 1, a 1-D array of n
// elements an n x 1 column.
std::vector<mwSize> matlabSize(const py::array &a) {
    std::vector<mwSize> dims(a.shape(), a.shape() + a.ndim());
    if (dims.empty()) dims.push_back(1);
    if (dims.size() == 1) dims.push_back(1);
    return dims;
}

ArrayPtr owned(mxArray *a) {
    if (!a) throw std::bad_alloc();
    return ArrayPtr(a);
}

// A complex array: its parts copied into the host's separate real and
// imaginary storage, as MATLAB's separate-complex interface holds them.
ArrayPtr complexCopy(const py::array &a, mxClassID cls) {
    const std::vector<mwSize> dims = matlabSize(a);
    ArrayPtr out = owned(mxCreateNumericArray(dims.size(), dims.data(), cls, mxCOMPLEX));
    const std::size_t part = mxGetElementSize(out.get());
    const auto *src = static_cast<const char *>(a.data());
    auto *re = static_cast<char *>(mxGetData(out.get()));
    auto *im = static_cast<char *>(mxGetImagData(out.get()));
    for (std::size_t i = 0, n = mxGetNumberOfElements(out.get()); i < n; ++i) {
        std::memcpy(re + i * part, src + 2 * i * part, part);
        std::memcpy(im + i * part, src + (2 * i + 1) * part, part);
    }
    return out;
}

// A str as MATLAB holds text: a char row of its UTF-16 code units (a 0 x 0
// char when empty).  A lone surrogate is one code unit, as in MATLAB's
// char(55296), so every str reaches the plug-in, which reads or refuses it.
ArrayPtr charRow(py::handle str) {
    // Python's "utf-16" writes this machine's byte order after a byte-order mark.
    const auto units = py::reinterpret_steal<py::bytes>(
        PyUnicode_AsEncodedString(str.ptr(), "utf-16", "surrogatepass"));
    if (!units) throw py::error_already_set();
    const std::string_view bytes = units;
    const std::size_t n = bytes.size() > 2 ? (bytes.size() - 2) / sizeof(mxChar) : 0;
    ArrayPtr a = owned(mxCreateNumericMatrix(n ? 1 : 0, n, mxCHAR_CLASS, mxREAL));
    if (n) std::memcpy(mxGetData(a.get()), bytes.data() + 2, n * sizeof(mxChar));
    return a;
}

// A Python int as a double scalar.  An int that no double holds exactly
// (beyond 2^53 in magnitude and not a multiple of the spacing there, or
// beyond the largest double) is refused rather than rounded.
ArrayPtr intScalar(py::handle value, const std::string &plugin, std::size_t position) {
    const std::string argument = plugin + ": argument " + std::to_string(position);
    const double d = PyLong_AsDouble(value.ptr());
    if (d == -1.0 && PyErr_Occurred()) {
        PyErr_Clear();
        throw py::type_error(argument + " is an int beyond the range of a double");
    }
    if (!py::float_(d).equal(value)) {
        throw py::type_error(argument + " is an int that no double holds exactly; float(n) rounds it");
    }
    return owned(mxCreateDoubleScalar(d));
}

// One input as the host array a plug-in reads.  `keep` holds the NumPy
// arrays whose memory the host arrays borrow until the call is over; the
// plug-in's name and the input's position (from 1) name it in a refusal.
ArrayPtr toHost(py::handle obj, std::vector<py::object> &keep, const std::string &plugin, std::size_t position) {
    if (obj.is_none()) return owned(mxCreateDoubleMatrix(0, 0, mxREAL));
    if (PyUnicode_Check(obj.ptr())) return charRow(obj);
    if (PyBool_Check(obj.ptr())) {
        ArrayPtr a = owned(mxCreateNumericMatrix(1, 1, mxLOGICAL_CLASS, mxREAL));
        *static_cast<mxLogical *>(mxGetData(a.get())) = obj.ptr() == Py_True;
        return a;
    }
    if (PyLong_Check(obj.ptr())) return intScalar(obj, plugin, position);
    if (PyFloat_Check(obj.ptr())) return owned(mxCreateDoubleScalar(PyFloat_AsDouble(obj.ptr())));
    py::module_ numpy = py::module_::import("numpy");
    py::array a;
    try {
        a = numpy.attr("asarray")(obj);
    } catch (const py::error_already_set &) {
        // Ragged nested sequences: MATLAB would hold them in a cell.
        a = numpy.attr("array")(py::make_tuple(obj), "dtype"_a = "object");
    }
    const ClassOf c = classOf(a.dtype());
    if (a.dtype().kind() == 'O' || a.dtype().kind() == 'U' || a.dtype().kind() == 'S') {
        // Objects and strings arrive as a cell of the array's size; the
        // plug-ins refuse cells by their class, before reading any element.
        const std::vector<mwSize> dims = matlabSize(a);
        return owned(mxCreateCellMatrix(dims[0], static_cast<mwSize>(a.size()) / (dims[0] ? dims[0] : 1)));
    }
    // Read in place when the array is column-major, aligned and in this
    // machine's byte order; otherwise copied once into that layout.
    const bool native = a.dtype().attr("isnative").cast<bool>();
    const int flags = py::detail::array_proxy(a.ptr())->flags;
    if (!native || !(flags & py::detail::npy_api::NPY_ARRAY_F_CONTIGUOUS_) ||
        !(flags & py::detail::npy_api::NPY_ARRAY_ALIGNED_)) {
        a = numpy.attr("require")(a, a.dtype().attr("newbyteorder")("="), "FA");
    }
    if (c.complex) return complexCopy(a, c.cls);
    keep.push_back(a);
    const std::vector<mwSize> dims = matlabSize(a);
    return owned(mexhost::newBorrowedArray(c.cls, dims.size(), dims.data(), const_cast<void *>(a.data())));
}

py::dtype dtypeOf(const mxArray *a) {
    switch (mxGetClassID(a)) {
    case mxDOUBLE_CLASS: return py::dtype::of<double>();
    case mxSINGLE_CLASS: return py::dtype::of<float>();
    case mxLOGICAL_CLASS: return py::dtype::of<bool>();
    case mxINT8_CLASS: return py::dtype::of<std::int8_t>();
    case mxUINT8_CLASS: return py::dtype::of<std::uint8_t>();
    case mxINT16_CLASS: return py::dtype::of<std::int16_t>();
    case mxUINT16_CLASS: return py::dtype::of<std::uint16_t>();
    case mxINT32_CLASS: return py::dtype::of<std::int32_t>();
    case mxUINT32_CLASS: return py::dtype::of<std::uint32_t>();
    case mxINT64_CLASS: return py::dtype::of<std::int64_t>();
    case mxUINT64_CLASS: return py::dtype::of<std::uint64_t>();
    default: throw py::type_error(std::string("a plug-in returned an array of class ") + mxGetClassName(a));
    }
}

// An output as a column-major NumPy array of its MATLAB size that owns the
// host's memory: the data are handed over, not copied.
py::array toNumPy(mxArray *a) {
    if (mxIsComplex(a) || mxIsSparse(a)) throw py::type_error("a plug-in returned a complex or sparse array");
    py::dtype dtype = dtypeOf(a);
    const std::size_t ndim = mxGetNumberOfDimensions(a);
    std::vector<py::ssize_t> shape(ndim), strides(ndim);
    py::ssize_t stride = static_cast<py::ssize_t>(mxGetElementSize(a));
    for (std::size_t d = 0; d < ndim; ++d) {
        shape[d] = static_cast<py::ssize_t>(mxGetDimensions(a)[d]);
        strides[d] = stride;
        stride *= shape[d];
    }
    void *data = mexhost::takeData(a);
    py::capsule owner(data, [](void *p) { mexhost::releaseData(p); });
    return py::array(dtype, shape, strides, data, owner);
}

// The plug-in's name: its file name without folder and suffix.
std::string stem(const std::string &path) {
    const std::size_t start = path.find_last_of("/\\") + 1;
    return path.substr(start, path.find('.', start) - start);
}

// A plug-in file, opened once.
class Plugin {
public:
    // The loader's own exception is of libmx's C++ runtime, which the
    // extension's (linked into each file of a wheel) cannot name.
    explicit Plugin(const std::string &path) try : plugin_(path), name_(stem(path)) {
    } catch (...) {
        throw py::value_error("cannot open the plug-in file " + path + " (missing, or not a plug-in of this system)");
    }

    // Calls mexFunction with `nout` outputs asked for.  Returns (True,
    // outputs, console) or (False, (identifier, message), console).
    py::tuple call(int nout, const py::args &args) const {
        std::vector<py::object> keep;
        std::vector<ArrayPtr> inputs;
        inputs.reserve(args.size());
        for (py::handle arg : args) inputs.push_back(toHost(arg, keep, name_, inputs.size() + 1));
        std::vector<const mxArray *> prhs;
        for (const ArrayPtr &a : inputs) prhs.push_back(a.get());
        mexhost::CallResult result;
        {
            py::gil_scoped_release unlocked;
            result = plugin_.call(nout, prhs);
        }
        if (!result.ok) {
            return py::make_tuple(false, py::make_tuple(result.errorId, result.errorText), result.console);
        }
        py::tuple outputs(result.outputs.size());
        for (std::size_t i = 0; i < result.outputs.size(); ++i) outputs[i] = toNumPy(result.outputs[i].get());
        return py::make_tuple(true, outputs, result.console);
    }

private:
    mexhost::Plugin plugin_;
    std::string name_;
};

}  // namespace

PYBIND11_MODULE(_host, m) {
    m.doc() = "The MEX host of the gridmex package: opens the plug-in files and calls them.";
    py::class_<Plugin>(m, "Plugin")
        .def(py::init<const std::string &>(), py::arg("path"))
        .def("call", &Plugin::call, py::arg("nout"));
    m.def("live_arrays", &mexhost::liveArrays, "Host arrays alive (0 between calls).");
    m.def("live_scratch_blocks", &mexhost::liveScratchBlocks, "Host scratch blocks alive (0 between calls).");
}
