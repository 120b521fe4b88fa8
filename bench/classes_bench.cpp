// The sampling and gradient plug-ins on images and volumes of every class
// the four-lane kernels read in their own width (single and the 8-, 16- and
// 32-bit integers) beside double: the same smooth grey levels and the same
// points, on one thread.  The classes take turns: each of three rounds calls
// every plug-in once per class, and every figure is the best
// of its three rounds, so that a class and its double row see the same
// machine even when other work comes and goes.  A call is timed in the
// processor time of the calling thread, on which the plug-in runs when
// given one thread: the time it waits for a core while other work runs on
// the machine is left out.
#include "bench/inputs.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <stdexcept>
#include <string>

namespace bench {

namespace {

constexpr int kRounds = 3;
constexpr Index kSide2 = 2048, kRows2 = 2000, kCount2 = 2000000;
constexpr Index kSide3 = 256, kRows3 = 250, kCount3 = 1000000;

// A copy of a double array in class cls: every value v becomes
// (v - offset) * scale.
template <typename T>
ArrayPtr converted(const ArrayPtr &d, mxClassID cls, double offset, double scale) {
    const mwSize *dims = mxGetDimensions(d.get());
    ArrayPtr a(mxCreateNumericArray(mxGetNumberOfDimensions(d.get()), dims, cls, mxREAL));
    const double *p = data(d);
    T *q = static_cast<T *>(mxGetData(a.get()));
    for (std::size_t i = 0, n = mxGetNumberOfElements(d.get()); i < n; ++i)
        q[i] = static_cast<T>((p[i] - offset) * scale);
    return a;
}

// Processor seconds of the calling thread in one call; the outputs are
// released after the clock is read.
double threadSeconds(const mexhost::Plugin &p, int nlhs, const std::vector<const mxArray *> &inputs) {
    timespec start, end;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    mexhost::CallResult r = p.call(nlhs, inputs);
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    if (!r.ok) throw std::runtime_error(p.path() + ": " + r.errorText);
    return double(end.tv_sec - start.tv_sec) + 1e-9 * double(end.tv_nsec - start.tv_nsec);
}

struct Classed {
    const char *name;
    ArrayPtr array;
    double elementBytes;
};

// The grey levels (68 to 188) as double, single and uint8; centred on 0
// for int8; on the range of a 16-bit camera (times 256) as uint16 and,
// centred, as int16; and spread over the 32-bit range (the upper half of
// uint32 included, where its conversion differs from int32's).
std::vector<Classed> classes(const ArrayPtr &grey) {
    std::vector<Classed> c;
    c.push_back({"double", converted<double>(grey, mxDOUBLE_CLASS, 0, 1), 8});
    c.push_back({"single", converted<float>(grey, mxSINGLE_CLASS, 0, 1), 4});
    c.push_back({"int8", converted<std::int8_t>(grey, mxINT8_CLASS, 128, 1), 1});
    c.push_back({"uint8", converted<std::uint8_t>(grey, mxUINT8_CLASS, 0, 1), 1});
    c.push_back({"int16", converted<std::int16_t>(grey, mxINT16_CLASS, 128, 256), 2});
    c.push_back({"uint16", converted<std::uint16_t>(grey, mxUINT16_CLASS, 0, 256), 2});
    c.push_back({"int32", converted<std::int32_t>(grey, mxINT32_CLASS, 128, 16777216), 4});
    c.push_back({"uint32", converted<std::uint32_t>(grey, mxUINT32_CLASS, 0, 16777216), 4});
    return c;
}

struct Kind {
    const char *name;
    int outputs;
};

// One family: every plug-in of `kinds` on every point set and class, in
// rounds; then one row per class, each class compared with its double row.
void classRows(Results &results, const std::string &family, const std::vector<std::pair<std::string, PointSet>> &sets,
               const ArrayPtr &grey, const std::vector<Kind> &kinds) {
    const std::vector<Classed> all = classes(grey);
    std::vector<std::vector<std::vector<double>>> best(
        sets.size(), std::vector<std::vector<double>>(kinds.size(), std::vector<double>(all.size(), 0)));
    setThreads(1);
    for (int round = 0; round < kRounds; ++round) {
        std::fprintf(stderr, "  %s, round %d of %d\n", family.c_str(), round + 1, kRounds);
        for (std::size_t s = 0; s < sets.size(); ++s) {
            const PointSet &p = sets[s].second;
            std::vector<const mxArray *> in = {p.x.get(), p.y.get()};
            if (p.z) in.push_back(p.z.get());
            in.push_back(nullptr);
            for (std::size_t k = 0; k < kinds.size(); ++k) {
                const mexhost::Plugin *loaded = plugin(kinds[k].name);
                if (!loaded) continue;
                // Each round starts at another class, so that none is always
                // the first after another plug-in.
                for (std::size_t turn = 0; turn < all.size(); ++turn) {
                    const std::size_t c = (turn + 3 * std::size_t(round)) % all.size();
                    in.back() = all[c].array.get();
                    if (round == 0) threadSeconds(*loaded, kinds[k].outputs, in);
                    const double seconds = threadSeconds(*loaded, kinds[k].outputs, in);
                    double &kept = best[s][k][c];
                    kept = kept > 0 ? std::min(kept, seconds) : seconds;
                }
            }
        }
    }
    std::vector<Row> &rows = results.rows[family];
    const double elements = double(mxGetNumberOfElements(grey.get()));
    for (std::size_t s = 0; s < sets.size(); ++s) {
        const PointSet &p = sets[s].second;
        const double n = double(p.count), coordinates = p.z ? 24.0 : 16.0;
        for (std::size_t k = 0; k < kinds.size(); ++k) {
            const std::string name = kinds[k].name + (" " + sets[s].first);
            const std::string key = "double " + name;
            for (std::size_t c = 0; c < all.size(); ++c) {
                Row row{name + " " + all[c].name,
                        "points",
                        n,
                        (coordinates + 8 * kinds[k].outputs) * n + all[c].elementBytes * elements,
                        {best[s][k][c], 0},
                        {},
                        ""};
                if (!plugin(kinds[k].name)) row.note = "not built";
                if (c == 0) {
                    results.peers[key] = Peer{"the double row above", {row.seconds[0] > 0 ? n / row.seconds[0] : 0, 0}};
                } else {
                    row.peers.push_back(key);
                }
                rows.push_back(row);
            }
        }
    }
}

}  // namespace

void classWorkloads(Results &results) {
    const std::string planar = "Classes, 2-D: 2048 x 2048 image, 2 M points, 1 thread, thread time, against double "
                               "(best of 3 rounds in turns)";
    results.families.push_back(planar);
    {
        ArrayPtr image = smoothImage(kSide2, kSide2);
        const double origin[2] = {20, 20}, step[2] = {1.0, 0.4};
        std::vector<std::pair<std::string, PointSet>> sets;
        sets.emplace_back("coherent", coherentPoints2(kRows2, kCount2 / kRows2, origin, step));
        sets.emplace_back("random", randomPoints(2, kRows2, kCount2, 3, kSide2 - 5));
        classRows(results, planar, sets, image,
                  {{"pxBilinSample", 1}, {"pxCellSlope", 2}, {"pxCubicSample", 1}, {"pxCubicSlope", 2}});
    }
    const std::string spatial =
        "Classes, 3-D: 256^3 volume, 1 M points, 1 thread, thread time, against double (best of 3 rounds in turns)";
    results.families.push_back(spatial);
    ArrayPtr volume = smoothVolume(kSide3, kSide3, kSide3);
    const double origin[3] = {3, 3, 3}, step[3] = {1.0, 1.2, 1.2};
    std::vector<std::pair<std::string, PointSet>> sets;
    sets.emplace_back("coherent", coherentPoints3(kRows3, 100, kCount3 / kRows3 / 100, origin, step));
    sets.emplace_back("random", randomPoints(3, kRows3, kCount3, 3, kSide3 - 4));
    classRows(results, spatial, sets, volume,
              {{"vxTrilinSample", 1}, {"vxCellSlope", 3}, {"vxCubicSample", 1}, {"vxCubicSlope", 3}});
}

}  // namespace bench
