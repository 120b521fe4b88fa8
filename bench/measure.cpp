// Timed calls of the own-host plug-ins through the host's loader, exactly
// as a host calls them, and the arrays they are fed with.
#include "bench/bench.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

namespace bench {

void setThreads(int threads) { setenv("GRIDMEX_THREADS", std::to_string(threads).c_str(), 1); }

const mexhost::Plugin *plugin(const std::string &name) {
    static std::map<std::string, std::unique_ptr<mexhost::Plugin>> loaded;
    auto found = loaded.find(name);
    if (found != loaded.end()) return found->second.get();
    std::unique_ptr<mexhost::Plugin> p;
    try {
        p = std::make_unique<mexhost::Plugin>(std::string(GRIDMEX_OWN_DIR) + "/" + name + GRIDMEX_PLUGIN_SUFFIX);
    } catch (const std::runtime_error &) {
        p.reset();
    }
    return (loaded[name] = std::move(p)).get();
}

double bestSeconds(const std::function<double()> &run) {
    run();
    double best = run(), spent = best;
    for (int runs = 2; runs < 5 && spent < 0.5; ++runs) {
        double s = run();
        best = std::min(best, s);
        spent += s;
    }
    return best;
}

double timedCall(const mexhost::Plugin &p, int nlhs, const std::vector<const mxArray *> &inputs,
                 std::vector<ArrayPtr> &outputs) {
    auto start = std::chrono::steady_clock::now();
    mexhost::CallResult r = p.call(nlhs, inputs);
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (!r.ok) throw std::runtime_error(p.path() + ": " + r.errorText);
    outputs = std::move(r.outputs);
    return took.count();
}

void measure(Row &row, const std::string &name, int nlhs, const std::vector<const mxArray *> &inputs,
             const std::function<std::string(const std::vector<ArrayPtr> &)> &check) {
    const mexhost::Plugin *p = plugin(name);
    if (!p) {
        row.note = "not built";
        return;
    }
    for (int t = 0; t < 2; ++t) {
        setThreads(kThreadCounts[t]);
        bool first = true;
        row.seconds[t] = bestSeconds([&] {
            std::vector<ArrayPtr> outputs;
            double s = timedCall(*p, nlhs, inputs, outputs);
            if (first && t == 0 && check) row.note = check(outputs);
            first = false;
            return s;
        });
    }
}

ArrayPtr doubles(std::vector<Index> dims) {
    std::vector<mwSize> d(dims.begin(), dims.end());
    return ArrayPtr(mxCreateNumericArray(d.size(), d.data(), mxDOUBLE_CLASS, mxREAL));
}

double *data(const ArrayPtr &a) { return static_cast<double *>(mxGetData(a.get())); }

ArrayPtr int32s(std::vector<Index> dims) {
    std::vector<mwSize> d(dims.begin(), dims.end());
    return ArrayPtr(mxCreateNumericArray(d.size(), d.data(), mxINT32_CLASS, mxREAL));
}

ArrayPtr scalar(double v) {
    ArrayPtr a = doubles({1, 1});
    *data(a) = v;
    return a;
}

}  // namespace bench
