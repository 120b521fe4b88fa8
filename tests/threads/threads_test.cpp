// Every plug-in gives bit-identical results on 1, 2 and 3 threads, on calls
// large enough to be split.
#include "plugin_test.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>

using namespace testing_support;

namespace {

struct Case {
    const char *name;
    int nlhs;
    std::function<std::vector<ArrayPtr>(std::mt19937 &)> inputs;
};

ArrayPtr uniform(std::mt19937 &rng, std::vector<mwSize> shape, double lo, double hi) {
    ArrayPtr a = array(shape);
    std::uniform_real_distribution<double> d(lo, hi);
    double *p = mxGetPr(a.get());
    for (std::size_t i = 0; i < mxGetNumberOfElements(a.get()); ++i) p[i] = d(rng);
    return a;
}

ArrayPtr int32Range(mwSize n, std::int32_t step) {
    ArrayPtr a = ofClass(mxINT32_CLASS, n, 1);
    auto *p = static_cast<std::int32_t *>(mxGetData(a.get()));
    for (mwSize i = 0; i < n; ++i) p[i] = static_cast<std::int32_t>(i) * step;
    return a;
}

// A smooth field with a circle of radius 40 as its zero level.  The square
// root of the sum of squares, not std::hypot: every C library rounds sqrt
// exactly but not hypot, and the field must have the same bits on every
// system for the builds to be compared.
ArrayPtr circle(mwSize n, double slope) {
    return image(n, n, [=](double r, double c) {
        double dr = r - n / 2.0, dc = c - n / 2.0;
        return slope * (std::sqrt(dr * dr + dc * dc) - 40.0);
    });
}

const mwSize P = 300000;  // points of the sampling calls
const std::vector<mwSize> pts{600, P / 600};

std::vector<ArrayPtr> pixelCall(std::mt19937 &rng) {
    std::vector<ArrayPtr> in;
    in.push_back(uniform(rng, pts, -2, 260));
    in.push_back(uniform(rng, pts, -2, 200));
    in.push_back(uniform(rng, {256, 198}, 0, 255));
    return in;
}

std::vector<ArrayPtr> volumeCall(std::mt19937 &rng) {
    std::vector<ArrayPtr> in;
    in.push_back(uniform(rng, pts, -1, 66));
    in.push_back(uniform(rng, pts, -1, 50));
    in.push_back(uniform(rng, pts, -1, 42));
    in.push_back(uniform(rng, {64, 48, 40}, 0, 255));
    return in;
}

std::vector<Case> cases() {
    return {
        {"pxBilinSample", 1, pixelCall},
        {"pxBilinSampleClamp", 1, pixelCall},
        {"pxBilinSampleHold", 1, pixelCall},
        {"pxCellSlope", 2, pixelCall},
        {"pxCellSlopeMasked", 2,
         [](std::mt19937 &rng) {
             std::vector<ArrayPtr> in = pixelCall(rng);
             ArrayPtr mask = ofClass(mxINT32_CLASS, 256, 198);
             auto *m = static_cast<std::int32_t *>(mxGetData(mask.get()));
             for (mwSize i = 0; i < 256 * 198; ++i) m[i] = (rng() % 4) != 0;
             in.push_back(std::move(mask));
             return in;
         }},
        {"pxCubicSample", 1, pixelCall},
        {"pxCubicSlope", 2, pixelCall},
        {"vxTrilinSample", 1, volumeCall},
        {"vxCellSlope", 3, volumeCall},
        {"vxCubicSample", 1, volumeCall},
        {"vxCubicSlope", 3, volumeCall},
        {"feShapeValues2", 1,
         [](std::mt19937 &rng) {
             std::vector<ArrayPtr> in;
             in.push_back(scalar(4));
             in.push_back(uniform(rng, {P, 1}, -1, 1));
             in.push_back(uniform(rng, {P, 1}, -1, 1));
             return in;
         }},
        {"feShapeValues3", 1,
         [](std::mt19937 &rng) {
             std::vector<ArrayPtr> in;
             in.push_back(scalar(8));
             for (int a = 0; a < 3; ++a) in.push_back(uniform(rng, {P, 1}, -1, 1));
             return in;
         }},
        {"feQuadPixels", 3,
         [](std::mt19937 &rng) {
             std::vector<ArrayPtr> in;
             in.push_back(scalar(4));
             in.push_back(matrix(4, 1, {0, 300, 320, -10}));
             in.push_back(matrix(4, 1, {0, 20, 310, 290}));
             in.push_back(uniform(rng, {P / 4, 1}, -20, 330));
             in.push_back(uniform(rng, {P / 4, 1}, -20, 330));
             return in;
         }},
        {"feQuadVoxels", 4,
         [](std::mt19937 &rng) {
             std::vector<ArrayPtr> in;
             in.push_back(scalar(8));
             in.push_back(matrix(8, 1, {0, 40, 42, 0, 1, 41, 40, 2}));
             in.push_back(matrix(8, 1, {0, 1, 40, 41, 0, 2, 42, 40}));
             in.push_back(matrix(8, 1, {0, 0, 1, 2, 40, 41, 40, 43}));
             for (int a = 0; a < 3; ++a) in.push_back(uniform(rng, {P / 8, 1}, -5, 45));
             return in;
         }},
        {"slopeBasis2", 1,
         [](std::mt19937 &rng) {
             std::vector<ArrayPtr> in;
             in.push_back(uniform(rng, {300, 200}, 0, 255));
             in.push_back(uniform(rng, {150 * 100, 8}, -1, 1));
             in.push_back(scalar(2));
             return in;
         }},
        {"slopeBasis3", 1,
         [](std::mt19937 &rng) {
             std::vector<ArrayPtr> in;
             in.push_back(uniform(rng, {40, 30, 20}, 0, 255));
             in.push_back(uniform(rng, {24000, 8}, -1, 1));
             in.push_back(scalar(1));
             return in;
         }},
        {"slopeBasis3p", 1,
         [](std::mt19937 &rng) {
             std::vector<ArrayPtr> in;
             in.push_back(uniform(rng, {40, 30, 20}, 0, 255));
             in.push_back(uniform(rng, {20 * 15 * 10, 8}, -1, 1));
             in.push_back(int32Range(20, 2));
             in.push_back(int32Range(15, 2));
             in.push_back(int32Range(10, 2));
             return in;
         }},
        {"lvsRedistance", 1, [](std::mt19937 &) {
             std::vector<ArrayPtr> in;
             in.push_back(circle(300, 2.5));
             in.push_back(scalar(1));
             in.push_back(scalar(3));
             return in;
         }},
        {"lvsRedistance0", 1, [](std::mt19937 &) {
             std::vector<ArrayPtr> in;
             in.push_back(circle(400, 2.5));
             in.push_back(scalar(1));
             in.push_back(scalar(0.5));
             return in;
         }},
        {"lvsAdvance", 1, [](std::mt19937 &rng) {
             std::vector<ArrayPtr> in;
             in.push_back(circle(400, 1));
             in.push_back(uniform(rng, {400, 400}, -1, 1));
             in.push_back(scalar(1));
             in.push_back(scalar(0.3));
             return in;
         }},
        {"lvsOrthogonalise", 1, [](std::mt19937 &) {
             std::vector<ArrayPtr> in;
             in.push_back(image(400, 400, [](double r, double c) { return r - 0.3 * c; }));
             in.push_back(circle(400, 1));
             in.push_back(scalar(1));
             in.push_back(scalar(0.3));
             return in;
         }},
        {"lvsExtendField", 1, [](std::mt19937 &rng) {
             std::vector<ArrayPtr> in;
             in.push_back(uniform(rng, {400, 400}, -1, 1));
             in.push_back(circle(400, 1));
             in.push_back(scalar(1));
             in.push_back(scalar(0.3));
             return in;
         }},
        {"pxGrayStats", 2, [](std::mt19937 &rng) {
             std::vector<ArrayPtr> in;
             in.push_back(uniform(rng, {700, 500}, 0, 255));
             return in;
         }},
        {"vxGrayStats", 2, [](std::mt19937 &rng) {
             std::vector<ArrayPtr> in;
             in.push_back(uniform(rng, {70, 60, 50}, 0, 255));
             return in;
         }},
        {"fdSlope", 1, [](std::mt19937 &rng) {
             std::vector<ArrayPtr> in;
             in.push_back(uniform(rng, {700, 500}, 0, 255));
             return in;
         }},
        {"matInvert6", 1, [](std::mt19937 &rng) {
             std::vector<ArrayPtr> in;
             ArrayPtr A = uniform(rng, {36, 50000}, -1, 1);
             double *a = mxGetPr(A.get());
             for (mwSize m = 0; m < 50000; ++m)
                 for (int d = 0; d < 6; ++d) a[36 * m + 7 * d] += 8;  // diagonally dominant
             in.push_back(std::move(A));
             return in;
         }},
    };
}

std::vector<ArrayPtr> runWithThreads(const Case &c, const std::vector<ArrayPtr> &inputs, int threads) {
    setenv("GRIDMEX_THREADS", std::to_string(threads).c_str(), 1);
    std::vector<const mxArray *> raw;
    for (const ArrayPtr &a : inputs) raw.push_back(a.get());
    CallResult r = plugin(c.name).call(c.nlhs, raw);
    unsetenv("GRIDMEX_THREADS");
    EXPECT_TRUE(r.ok) << c.name << ": " << r.errorText;
    return std::move(r.outputs);
}

// FNV-1a over the bits of every output: printed as "bits NAME DIGEST" so
// that builds for different systems can be compared (.ci/run compares the
// Windows build with the Linux one).
std::uint64_t digest(const std::vector<ArrayPtr> &outputs) {
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (const ArrayPtr &o : outputs) {
        for (double v : values(o.get())) {
            std::uint64_t bits;
            std::memcpy(&bits, &v, sizeof bits);
            for (int b = 0; b < 64; b += 8) h = (h ^ ((bits >> b) & 0xff)) * 0x100000001b3ULL;
        }
    }
    return h;
}

TEST(Threads, EveryPluginIsBitIdenticalOnOneTwoAndThreeThreads) {
    std::vector<Case> all = cases();
    ASSERT_EQ(all.size(), 27u);
    for (const Case &c : all) {
        SCOPED_TRACE(c.name);
        std::mt19937 rng(11);
        std::vector<ArrayPtr> inputs = c.inputs(rng);
        std::vector<ArrayPtr> one = runWithThreads(c, inputs, 1);
        ASSERT_EQ(one.size(), static_cast<std::size_t>(c.nlhs));
        std::printf("bits %s %016llx\n", c.name, static_cast<unsigned long long>(digest(one)));
        for (int threads : {2, 3}) {
            std::vector<ArrayPtr> many = runWithThreads(c, inputs, threads);
            ASSERT_EQ(many.size(), one.size());
            for (std::size_t o = 0; o < one.size(); ++o) {
                std::vector<double> a = values(one[o].get()), b = values(many[o].get());
                ASSERT_EQ(a.size(), b.size());
                std::size_t differing = 0;
                for (std::size_t i = 0; i < a.size(); ++i) differing += !sameBits(a[i], b[i]);
                EXPECT_EQ(differing, 0u) << "output " << o << " on " << threads << " threads";
            }
        }
    }
}

}  // namespace
