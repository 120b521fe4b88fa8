// The 2-D and 3-D sampling plug-ins against compiled peers: OpenCV's
// cv::remap (bilinear and bicubic, 1 and 2 threads) and scipy's
// map_coordinates (orders 1 and 3, one thread), and the same plug-ins
// called from Octave (also with glibc's huge pages) and from Python (the
// gridmex package, beside OpenCV's Python cv2.remap), all on the same image,
// volume and points; and the time of one call on 16 points in each host.
// The rivals take turns: each of three rounds times the own-host plug-ins
// and the remap call by call, then runs the Octave script (twice), the
// Python script and the scipy script once; every figure is the best of its
// three rounds.  The inputs reach the scripts as raw doubles in a scratch
// folder, removed at the end.
#include "bench/inputs.h"
#include "bench/peers_cv.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>

namespace bench {

namespace {

constexpr Index kSide2 = 2048, kRows2 = 2000, kCount2 = 4000000;
constexpr Index kSide3 = 256, kRows3 = 250, kCount3 = 1000000;
constexpr int kRounds = 3;
constexpr Index kSmallPoints = 16;
constexpr int kSmallCalls = 1000;

struct Plugin {
    const char *name;
    int outputs;
    const char *remap;  // the remap peer, "linear" or "cubic"
    bool turn;          // the remap is timed right after this plug-in
    int order;          // of the map_coordinates peer
};
const Plugin kPlanar[] = {{"pxBilinSample", 1, "linear", true, 1},
                          {"pxBilinSampleClamp", 1, "linear", false, 1},
                          {"pxBilinSampleHold", 1, "linear", false, 1},
                          {"pxCellSlope", 2, "linear", false, 1},
                          {"pxCubicSample", 1, "cubic", true, 3}};
const Plugin kSolid[] = {{"vxTrilinSample", 1, "", false, 1}, {"vxCubicSample", 1, "", false, 3}};
const char *const kSets[] = {"coherent", "random"};

// Best seconds of every timing key over the rounds.
class Best {
public:
    void keep(const std::string &key, double s) {
        auto [at, fresh] = best_.emplace(key, s);
        if (!fresh) at->second = std::min(at->second, s);
    }
    double operator()(const std::string &key) const {
        auto at = best_.find(key);
        return at == best_.end() ? 0 : at->second;
    }

private:
    std::map<std::string, double> best_;
};

void writeDoubles(const std::filesystem::path &path, const ArrayPtr &a) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(data(a)),
              std::streamsize(mxGetNumberOfElements(a.get()) * sizeof(double)));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Runs a timing script; its lines "key<TAB>seconds" go to `best`, any other
// line to the error output (Octave's warning on exit is dropped).
void runScript(const std::string &command, Best &best) {
    FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run " + command);
    char line[4096];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string text(line);
        std::istringstream fields(text);
        std::string key, seconds;
        if (std::getline(fields, key, '\t') && std::getline(fields, seconds) && !seconds.empty() &&
            text.find('\t') != std::string::npos) {
            best.keep(key, std::stod(seconds));
        } else if (text.find("ignoring const execution_exception") == std::string::npos) {
            std::fputs(text.c_str(), stderr);
        }
    }
    if (pclose(pipe) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
}

std::string key(const std::string &who, const std::string &what, const std::string &set, int threads) {
    return who + " " + what + " " + set + " " + std::to_string(threads);
}

// Own-host call of a plug-in on `threads` threads; the outputs are released
// after the timing.
double ownSeconds(const mexhost::Plugin &p, int outputs, const std::vector<const mxArray *> &in, int threads) {
    setThreads(threads);
    std::vector<ArrayPtr> out;
    return timedCall(p, outputs, in, out);
}

// Largest difference between the remap and the plug-in on the same points,
// in grey levels and as a share of the image's range.
std::string remapDifference(const Remap &remap, const mexhost::Plugin &p, const std::vector<const mxArray *> &in,
                            const ArrayPtr &image, Index count) {
    std::vector<double> theirs(std::size_t(count), 0.0);
    remap.seconds(false, 1, theirs.data());
    std::vector<ArrayPtr> out;
    timedCall(p, 1, in, out);
    const double *ours = data(out[0]), *I = data(image);
    double worst = 0;
    for (Index k = 0; k < count; ++k) worst = std::max(worst, std::fabs(theirs[std::size_t(k)] - ours[k]));
    const Index pixels = Index(mxGetNumberOfElements(image.get()));
    auto [lo, hi] = std::minmax_element(I, I + pixels);
    char text[160];
    std::snprintf(text, sizeof text, "cv::remap linear differs by up to %.3g grey levels, %.2g of the image's range",
                  worst, worst / (*hi - *lo));
    return text;
}

}  // namespace

void compiledWorkloads(Results &results) {
    const std::string family =
        "Compiled peers and calls from Octave: 2048 x 2048 image, 4 M points; 256^3 volume, 1 M points "
        "(best of 3 rounds in turns)";
    results.families.push_back(family);
    std::vector<Row> &rows = results.rows[family];

    const std::filesystem::path dir = std::filesystem::path(GRIDMEX_BENCH_SCRATCH);
    std::filesystem::create_directories(dir);
    ArrayPtr image = smoothImage(kSide2, kSide2), volume = smoothVolume(kSide3, kSide3, kSide3);
    writeDoubles(dir / "image.f64", image);
    writeDoubles(dir / "volume.f64", volume);

    const double origin2[2] = {20, 20}, step2[2] = {1.0, 1.0};
    const double origin3[3] = {3, 3, 3}, step3[3] = {1.0, 1.2, 1.2};
    PointSet planar[2] = {coherentPoints2(kRows2, kCount2 / kRows2, origin2, step2),
                          randomPoints(2, kRows2, kCount2, 3, kSide2 - 5)};
    PointSet solid[2] = {coherentPoints3(kRows3, 100, kCount3 / kRows3 / 100, origin3, step3),
                         randomPoints(3, kRows3, kCount3, 3, kSide3 - 4)};
    std::unique_ptr<Remap> remaps[2];
    for (int s = 0; s < 2; ++s) {
        const std::string set = kSets[s];
        writeDoubles(dir / (set + "2_x.f64"), planar[s].x);
        writeDoubles(dir / (set + "2_y.f64"), planar[s].y);
        writeDoubles(dir / (set + "3_x.f64"), solid[s].x);
        writeDoubles(dir / (set + "3_y.f64"), solid[s].y);
        writeDoubles(dir / (set + "3_z.f64"), solid[s].z);
        remaps[s] = std::make_unique<Remap>(data(image), kSide2, kSide2, data(planar[s].x), data(planar[s].y), kRows2,
                                            kCount2);
    }
    const std::string sizes = " " + dir.string() + " " + std::to_string(kSide2) + " " + std::to_string(kRows2) + " " +
                              std::to_string(kCount2) + " " + std::to_string(kSide3) + " " + std::to_string(kRows3) +
                              " " + std::to_string(kCount3);
    const std::string source = GRIDMEX_SOURCE_DIR;
    // The second Octave run asks glibc to back its large allocations with
    // transparent huge pages (glibc 2.35 on), so that the outputs Octave
    // creates, zero-fills and copies fault in 2 MiB pages instead of 4 KiB
    // ones; a user gets the same by starting Octave with this variable.
    const std::string octaveScript = std::string(GRIDMEX_OCTAVE_CLI) +
                                     " --norc --quiet --no-history --no-window-system --path " + GRIDMEX_OCTAVE_DIR +
                                     " " + source + "/bench/octave_plugins.m" + sizes;
    const std::string octave = octaveScript + " octave";
    const std::string octaveHuge = "GLIBC_TUNABLES=glibc.malloc.hugetlb=1 " + octaveScript + " octave_huge";
    const std::string scipy = std::string(GRIDMEX_SYSTEM_PYTHON) + " " + source + "/bench/peers_scipy.py" + sizes;
    const bool haveOctave = std::string(GRIDMEX_OCTAVE_CLI).size() > 0;
    const std::string python = std::string("PYTHONPATH=") + GRIDMEX_PYTHON_PACKAGE + " " + GRIDMEX_PACKAGE_PYTHON +
                               " " + source + "/bench/python_plugins.py" + sizes;
    const bool havePython = std::string(GRIDMEX_PYTHON_PACKAGE).size() > 0;
    // The call overhead: pxBilinSample on the first 16 random points.
    ArrayPtr x16 = doubles({kSmallPoints, 1}), y16 = doubles({kSmallPoints, 1});
    std::copy(data(planar[1].x), data(planar[1].x) + kSmallPoints, data(x16));
    std::copy(data(planar[1].y), data(planar[1].y) + kSmallPoints, data(y16));
    const std::vector<const mxArray *> small{x16.get(), y16.get(), image.get()};

    auto inputs2 = [&](int s) {
        return std::vector<const mxArray *>{planar[s].x.get(), planar[s].y.get(), image.get()};
    };
    auto inputs3 = [&](int s) {
        return std::vector<const mxArray *>{solid[s].x.get(), solid[s].y.get(), solid[s].z.get(), volume.get()};
    };

    Best best;
    for (int round = 0; round < kRounds; ++round) {
        std::fprintf(stderr, "  round %d of %d: own host and cv::remap...\n", round + 1, kRounds);
        for (int s = 0; s < 2; ++s) {
            for (int threads : kThreadCounts) {
                // The remaps follow the bilinear and the cubic plug-in, so
                // that both of a pair see the same machine.
                for (const Plugin &p : kPlanar) {
                    const mexhost::Plugin *loaded = plugin(p.name);
                    if (!loaded) continue;
                    if (round == 0) ownSeconds(*loaded, p.outputs, inputs2(s), threads);
                    best.keep(key("own", p.name, kSets[s], threads),
                              ownSeconds(*loaded, p.outputs, inputs2(s), threads));
                    if (!p.turn) continue;
                    const bool cubic = std::string(p.remap) == "cubic";
                    if (round == 0) remaps[s]->seconds(cubic, threads);
                    best.keep(key("cv", p.remap, kSets[s], threads), remaps[s]->seconds(cubic, threads));
                }
                for (const Plugin &p : kSolid) {
                    const mexhost::Plugin *loaded = plugin(p.name);
                    if (!loaded) continue;
                    if (round == 0) ownSeconds(*loaded, p.outputs, inputs3(s), threads);
                    best.keep(key("own", p.name, kSets[s], threads),
                              ownSeconds(*loaded, p.outputs, inputs3(s), threads));
                }
            }
        }
        if (const mexhost::Plugin *loaded = plugin(kPlanar[0].name)) {
            for (int threads : kThreadCounts)
                for (int k = 0; k < kSmallCalls; ++k)
                    best.keep(key("own", kPlanar[0].name, "small16", threads), ownSeconds(*loaded, 1, small, threads));
        }
        if (haveOctave) {
            std::fprintf(stderr, "  round %d of %d: the plug-ins from Octave...\n", round + 1, kRounds);
            runScript(octave, best);
            std::fprintf(stderr, "  round %d of %d: the plug-ins from Octave, huge pages...\n", round + 1, kRounds);
            runScript(octaveHuge, best);
        }
        if (havePython) {
            std::fprintf(stderr, "  round %d of %d: the plug-ins and cv2.remap from Python...\n", round + 1, kRounds);
            runScript(python, best);
        }
        std::fprintf(stderr, "  round %d of %d: scipy...\n", round + 1, kRounds);
        runScript(scipy, best);
    }

    // The peers, per set; map_coordinates has one thread, its rate stands for both.
    for (int s = 0; s < 2; ++s) {
        const std::string set = kSets[s];
        for (const char *kind : {"linear", "cubic"}) {
            Peer peer{"", {0, 0}};
            for (int t = 0; t < 2; ++t) {
                double sec = best(key("cv", kind, set, kThreadCounts[t]));
                peer.rate[t] = sec > 0 ? double(kCount2) / sec : 0;
            }
            // The rate column shows one thread; the label gives the second.
            char label[96];
            std::snprintf(label, sizeof label, "cv::remap %s (%lld), 2T %.1f", kind, static_cast<long long>(kCount2),
                          peer.rate[1] * 1e-6);
            peer.label = label;
            results.peers[std::string("cv_") + kind + " " + set] = peer;
            Peer py{"", {0, 0}};
            for (int t = 0; t < 2; ++t) {
                double sec = best(key("cv2", kind, set, kThreadCounts[t]));
                py.rate[t] = sec > 0 ? double(kCount2) / sec : 0;
            }
            std::snprintf(label, sizeof label, "cv2.remap %s from Python (%lld), 2T %.1f", kind,
                          static_cast<long long>(kCount2), py.rate[1] * 1e-6);
            py.label = label;
            results.peers[std::string("cv2_") + kind + " " + set] = py;
        }
        for (int dims : {2, 3}) {
            for (int order : {1, 3}) {
                const Index n = dims == 2 ? kCount2 : kCount3;
                const std::string what = "order" + std::to_string(order) + "_" + std::to_string(dims) + "d";
                double sec = best(key("scipy", what, set, 1));
                double rate = sec > 0 ? double(n) / sec : 0;
                results.peers["scipy_" + what + " " + set] = Peer{
                    "map_coordinates order " + std::to_string(order) + ", 1 thread (" + std::to_string(n) + ")",
                    {rate, rate}};
            }
        }
    }

    auto addRows = [&](const Plugin &p, const std::string &set, Index n, double bytes, std::vector<std::string> peers,
                       const std::string &note) {
        const std::pair<const char *, const char *> hosts[] = {{"own", ""},
                                                               {"octave", ", from Octave"},
                                                               {"octave_huge", ", Octave, 2M pages"},
                                                               {"python", ", from Python"}};
        for (const auto &[who, suffix] : hosts) {
            Row row{std::string(p.name) + " " + set + suffix, "points", double(n), bytes, {0, 0}, peers, ""};
            for (int t = 0; t < 2; ++t) row.seconds[t] = best(key(who, p.name, set, kThreadCounts[t]));
            if (row.seconds[0] <= 0 || row.seconds[1] <= 0) {
                row.seconds[0] = row.seconds[1] = 0;
                row.note = "not measured";
            } else if (n == kSmallPoints) {
                char text[64];
                std::snprintf(text, sizeof text, "%.2f us per call", row.seconds[0] * 1e6);
                row.note = text;
            } else if (who == std::string("own")) {
                row.note = note;
            }
            rows.push_back(row);
        }
    };
    const double imageBytes = double(kSide2 * kSide2) * 8, volumeBytes = double(kSide3 * kSide3 * kSide3) * 8;
    for (int s = 0; s < 2; ++s) {
        const std::string set = kSets[s];
        for (const Plugin &p : kPlanar) {
            std::string note;
            const mexhost::Plugin *loaded = plugin(p.name);
            if (loaded && std::string(p.name) == "pxBilinSample")
                note = remapDifference(*remaps[s], *loaded, inputs2(s), image, kCount2);
            addRows(p, set, kCount2, (16 + 8.0 * p.outputs) * kCount2 + imageBytes,
                    {std::string("cv_") + p.remap + " " + set, std::string("cv2_") + p.remap + " " + set,
                     "scipy_order" + std::to_string(p.order) + "_2d " + set},
                    note);
        }
        for (const Plugin &p : kSolid)
            addRows(p, set, kCount3, (24 + 8.0 * p.outputs) * kCount3 + volumeBytes,
                    {"scipy_order" + std::to_string(p.order) + "_3d " + set}, "");
    }
    addRows(kPlanar[0], "small16", kSmallPoints, 8.0 * 3 * kSmallPoints, {}, "");
    std::filesystem::remove_all(dir);
}

}  // namespace bench
