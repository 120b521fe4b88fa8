// Writes, for the Python tests, calls from the shared table of plug-ins and
// what the own host's loader made of each: served calls and nearly valid
// ones that Python can express (dense numeric or logical arrays, complex
// floating ones, character rows), with their output bits or their
// refusal.  The Python tests replay them through the package and compare.
// Usage: calls_dump OUTPUT.json.  Arrays are written column-major as hex
// bytes; error texts as hex too, so that no text needs escaping.
#include "tests/fuzz/models.h"
#include "tests/support/plugin_path.h"

#include <cstdio>
#include <string>

namespace {

using namespace fuzz;

constexpr int kServed = 6;
constexpr int kNearlyValid = 24;

std::string hex(const void *data, std::size_t bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string t;
    const auto *p = static_cast<const unsigned char *>(data);
    for (std::size_t i = 0; i < bytes; ++i) {
        t += digits[p[i] >> 4];
        t += digits[p[i] & 15];
    }
    return t;
}

std::string hex(const std::string &text) { return hex(text.data(), text.size()); }

bool printableRow(const mxArray *a) {
    if (mxGetM(a) > 1 || (mxGetM(a) == 0 && mxGetN(a) != 0)) return false;
    const auto *c = static_cast<const mxChar *>(mxGetData(a));
    for (std::size_t i = 0; i < mxGetNumberOfElements(a); ++i)
        if (c[i] == 0 || c[i] > 127) return false;
    return true;
}

bool expressible(const mxArray *a) {
    if (mxIsSparse(a)) return false;
    if (mxIsChar(a)) return !mxIsComplex(a) && printableRow(a);
    if (!mxIsNumeric(a) && !mxIsLogical(a)) return false;
    return !mxIsComplex(a) || mxGetClassID(a) == mxDOUBLE_CLASS || mxGetClassID(a) == mxSINGLE_CLASS;
}

std::string array(const mxArray *a) {
    std::string dims;
    for (mwSize d = 0; d < mxGetNumberOfDimensions(a); ++d)
        dims += (d ? "," : "") + std::to_string(mxGetDimensions(a)[d]);
    const std::size_t bytes = mxGetNumberOfElements(a) * mxGetElementSize(a);
    std::string t = "{\"class\": \"" + std::string(mxGetClassName(a)) + "\", \"dims\": [" + dims + "], \"re\": \"" +
                    hex(mxGetData(a), bytes) + "\"";
    if (mxIsComplex(a)) t += ", \"im\": \"" + hex(mxGetImagData(a), bytes) + "\"";
    return t + "}";
}

std::string record(const Model &m, const char *kind, const Call &call) {
    const mexhost::Plugin plugin(testing_support::pluginPath(m.name));
    const mexhost::CallResult r = plugin.call(call.nlhs, call.raw());
    std::string t = "{\"name\": \"" + m.name + "\", \"kind\": \"" + kind +
                    "\", \"nout\": " + std::to_string(call.nlhs) + ", \"intext\": \"" + hex(m.counts.inputText) +
                    "\", \"inputs\": [";
    for (std::size_t i = 0; i < call.inputs.size(); ++i) t += (i ? ", " : "") + array(call.inputs[i].get());
    t += "], \"ok\": " + std::string(r.ok ? "true" : "false");
    if (r.ok) {
        t += ", \"outputs\": [";
        for (std::size_t i = 0; i < r.outputs.size(); ++i) t += (i ? ", " : "") + array(r.outputs[i].get());
        t += "]";
    } else {
        t += ", \"id\": \"" + hex(r.errorId) + "\", \"text\": \"" + hex(r.errorText) + "\"";
    }
    return t + "}";
}

bool replayable(const Model &m, const Call &call) {
    if (call.nlhs != m.counts.outputs) return false;
    for (const ArrayPtr &a : call.inputs)
        if (!expressible(a.get())) return false;
    return true;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: calls_dump OUTPUT.json\n");
        return 2;
    }
    std::FILE *out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out, "[\n");
    bool first = true;
    for (const Model &m : models()) {
        Seeded s(11);
        for (const CallKind kind : {CallKind::Served, CallKind::NearlyValid}) {
            const int wanted = kind == CallKind::Served ? kServed : kNearlyValid;
            for (int k = 0; k < wanted;) {
                const Call call = makeCall(s, m, kind);
                if (!replayable(m, call)) continue;
                std::fprintf(out, "%s%s", first ? "" : ",\n", record(m, kindName(kind), call).c_str());
                first = false;
                ++k;
            }
        }
    }
    std::fprintf(out, "\n]\n");
    return std::fclose(out) == 0 ? 0 : 1;
}
