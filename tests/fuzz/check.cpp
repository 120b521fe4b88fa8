#include "tests/fuzz/check.h"

#include <algorithm>
#include <cstring>

namespace fuzz {

namespace {

struct Snapshot {
    Dims dims;
    mxClassID cls;
    std::vector<char> real, imag;
};

Snapshot snapshot(const mxArray *a) {
    const char *re = static_cast<const char *>(mxGetData(a));
    std::size_t bytes = re ? mxGetNumberOfElements(a) * mxGetElementSize(a) : 0;
    const char *im = static_cast<const char *>(mxGetImagData(a));
    const mwSize *d = mxGetDimensions(a);
    return {Dims(d, d + mxGetNumberOfDimensions(a)), mxGetClassID(a), std::vector<char>(re, re + bytes),
            im ? std::vector<char>(im, im + bytes) : std::vector<char>()};
}

bool same(const Snapshot &x, const Snapshot &y) {
    return x.dims == y.dims && x.cls == y.cls && x.real == y.real && x.imag == y.imag;
}

bool documented(const Model &model, const mexhost::CallResult &r) {
    return r.errorId.empty() && std::find(model.documentedErrors.begin(), model.documentedErrors.end(), r.errorText) !=
                                    model.documentedErrors.end();
}

std::string judgeError(const Model &model, const mexhost::CallResult &r, bool served) {
    if (r.errorText.empty()) return "error without a message (id \"" + r.errorId + "\")";
    if (documented(model, r)) return "";
    std::string prefix = model.name + ":";
    if (r.errorId.compare(0, prefix.size(), prefix) != 0 || r.errorId.size() == prefix.size())
        return "refused with identifier \"" + r.errorId + "\" (not " + prefix + "reason): " + r.errorText;
    if (r.errorText.compare(0, model.name.size(), model.name) == 0)
        return "refusal message repeats the plug-in name: " + r.errorText;
    if (served) return "refused a call the documented behaviour serves: " + r.errorId + ": " + r.errorText;
    return "";
}

std::string judgeOutputs(const Model &model, int nlhs, const std::vector<const mxArray *> &in,
                         const mexhost::CallResult &r) {
    // Asked for none, a plug-in may still set the first output, which the
    // host shows as ans.
    const int given = static_cast<int>(r.outputs.size());
    if (given != nlhs && !(nlhs == 0 && given == 1))
        return "returned " + std::to_string(r.outputs.size()) + " outputs for " + std::to_string(nlhs) + " asked";
    std::vector<Dims> shapes = model.shapes(in);
    for (std::size_t k = 0; k < r.outputs.size(); ++k) {
        const mxArray *o = r.outputs[k].get();
        std::string which = "output " + std::to_string(k + 1);
        if (!mxIsDouble(o) || mxIsComplex(o) || mxIsSparse(o))
            return which + " is not a real double array (" + mxGetClassName(o) + ")";
        const mwSize *d = mxGetDimensions(o);
        Dims got(d, d + mxGetNumberOfDimensions(o));
        if (k < shapes.size() && got != shapes[k])
            return which + " is " + dimsText(got) + ", documented " + dimsText(shapes[k]);
    }
    return "";
}

std::string judge(const Model &model, const Call &call, const std::vector<const mxArray *> &in,
                  const mexhost::CallResult &r, bool served) {
    CountVerdict counts = countVerdict(model.counts, call.nlhs, in);
    if (!counts.passes) {
        if (r.ok)
            return "accepted a call its count checks refuse" + (counts.anyError ? "" : " with \"" + counts.text + "\"");
        if (counts.anyError) return r.errorText.empty() ? "error without a message" : "";
        if (r.errorText != counts.text || !r.errorId.empty())
            return "count check answered \"" + r.errorId + "\" \"" + r.errorText + "\", documented \"" + counts.text +
                   "\"";
        return "";
    }
    if (!r.console.empty() && !(documented(model, r) && !r.ok)) return "printed \"" + r.console.substr(0, 200) + "\"";
    return r.ok ? judgeOutputs(model, call.nlhs, in, r) : judgeError(model, r, served);
}

Outcome::Ending ending(const Model &model, const Call &call, const std::vector<const mxArray *> &in,
                       const mexhost::CallResult &r) {
    if (r.ok) return Outcome::Returned;
    if (!countVerdict(model.counts, call.nlhs, in).passes) return Outcome::CountRefusal;
    return documented(model, r) ? Outcome::DocumentedError : Outcome::OwnRefusal;
}

}  // namespace

bool sameBits(const mexhost::CallResult &a, const mexhost::CallResult &b) {
    if (a.ok != b.ok || a.errorText != b.errorText || a.outputs.size() != b.outputs.size()) return false;
    for (std::size_t k = 0; k < a.outputs.size(); ++k) {
        const mxArray *x = a.outputs[k].get(), *y = b.outputs[k].get();
        std::size_t bytes = mxGetNumberOfElements(x) * mxGetElementSize(x);
        if (bytes != mxGetNumberOfElements(y) * mxGetElementSize(y) ||
            (bytes && std::memcmp(mxGetData(x), mxGetData(y), bytes) != 0))
            return false;
    }
    return true;
}

Outcome checkCall(const Model &model, mexhost::MexEntry entry, const Call &call, bool served) {
    std::vector<const mxArray *> in = call.raw();
    std::vector<Snapshot> before;
    for (const mxArray *a : in) before.push_back(snapshot(a));
    std::size_t arrays = mexhost::liveArrays(), scratch = mexhost::liveScratchBlocks();

    std::string fault;
    Outcome::Ending end;
    {
        mexhost::CallResult r = mexhost::callEntry(entry, call.nlhs, in);
        end = ending(model, call, in, r);
        fault = judge(model, call, in, r, served);
        if (fault.empty() && served && r.ok && !sameBits(r, mexhost::callEntry(entry, call.nlhs, in)))
            fault = "a repeated call gave other bits";
    }
    auto add = [&](const std::string &more) { fault += (fault.empty() ? "" : "; ") + more; };
    if (mexhost::liveArrays() != arrays)
        add("array count moved by " + std::to_string(static_cast<long long>(mexhost::liveArrays() - arrays)));
    if (mexhost::liveScratchBlocks() != scratch)
        add("scratch block count moved by " +
            std::to_string(static_cast<long long>(mexhost::liveScratchBlocks() - scratch)));
    for (std::size_t k = 0; k < in.size(); ++k)
        if (!same(before[k], snapshot(in[k]))) add("changed input " + std::to_string(k + 1));
    return {end, fault};
}

}  // namespace fuzz
