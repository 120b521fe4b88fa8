#include "tests/fuzz/models.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace fuzz {

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

using Inputs = std::vector<const mxArray *>;
using Shapes = std::vector<Dims>;

mwSize rowsOf(const mxArray *a) { return mxGetM(a); }
mwSize colsOf(const mxArray *a) { return mxGetN(a); }
mwSize firstDim(const mxArray *a) { return mxGetDimensions(a)[0]; }
mwSize dimOf(const mxArray *a, std::size_t d) { return d < mxGetNumberOfDimensions(a) ? mxGetDimensions(a)[d] : 1; }
mwSize size(Source &s, std::int64_t lo, std::int64_t hi) { return static_cast<mwSize>(s.between(lo, hi)); }

// Grey levels: finite mostly, now and then NaN or an infinity (they
// propagate; they are no reason to refuse a call).
double pixel(Source &s) { return s.percent(97) ? plain(s) : special(s); }
ArrayPtr image(Source &s, const Dims &dims) {
    return filled(dims, [&] { return pixel(s); });
}

// Points for the sampling plug-ins: the first coordinate array has any
// shape, the others hold at least as many values in a shape of their own.
template <std::size_t D, typename F>
Call pointCall(Source &s, const Scale &z, F point) {
    Dims first = s.percent(8) ? s.pick<Dims>({{0, 0}, {0, 4}, {3, 0}}) : anyDims(s, z.points);
    std::int64_t n = elements(first);
    std::array<ArrayPtr, D> coords;
    std::int64_t extra = s.percent(70) ? 0 : s.between(1, 4);
    for (std::size_t d = 0; d < D; ++d) {
        Dims dims = d == 0 || extra == 0 ? first : Dims{static_cast<mwSize>(n + extra), 1};
        coords[d] = numeric(dims);
    }
    for (std::int64_t i = 0; i < n; ++i) {
        std::array<double, D> p = point();
        for (std::size_t d = 0; d < D; ++d) mxGetPr(coords[d].get())[i] = p[d];
    }
    for (std::size_t d = 1; d < D; ++d)
        for (std::int64_t i = n; i < n + extra; ++i) mxGetPr(coords[d].get())[i] = anyValue(s);
    Call call;
    for (ArrayPtr &c : coords) call.add(std::move(c));
    return call;
}

// Inputs the plug-in ignores, after the ones it reads.
void junk(Source &s, Call &call) {
    if (s.percent(80)) return;
    for (std::int64_t i = 0, n = s.between(1, 2); i < n; ++i) call.add(anyArray(s));
}

Call sample2(Source &s, const Scale &z, Dims imageDims, bool specials, int nlhs) {
    double M = static_cast<double>(imageDims[0]), N = static_cast<double>(imageDims[1]);
    Call call = pointCall<2>(s, z, [&] {
        return std::array<double, 2>{coordinate(s, M, specials), coordinate(s, N, specials)};
    });
    call.add(image(s, imageDims));
    call.nlhs = nlhs;
    junk(s, call);
    return call;
}

Dims imageDims(Source &s, std::int64_t lo, std::int64_t hi) { return {size(s, lo, hi), size(s, lo, hi)}; }

Call bilinSample(Source &s, const Scale &z) { return sample2(s, z, imageDims(s, 0, z.grid), true, 1); }
Call bilinBordered(Source &s, const Scale &z) { return sample2(s, z, imageDims(s, 3, z.grid), false, 1); }
Call cubicSample(Source &s, const Scale &z) { return sample2(s, z, imageDims(s, 0, z.grid + 2), true, 1); }
Call cubicSlope(Source &s, const Scale &z) { return sample2(s, z, imageDims(s, 0, z.grid + 2), true, 2); }
Call cellSlope(Source &s, const Scale &z) {
    Dims dims = s.percent(10) ? s.pick<Dims>({{0, 0}, {0, 3}, {4, 0}}) : imageDims(s, 2, z.grid);
    return sample2(s, z, dims, true, 2);
}

// A coordinate outside [1, extent + 1): the masked gradient needs both
// coordinates of a point inside the image or both outside.
double outside(Source &s, double extent) {
    return s.pick({kNaN, -kInf, kInf, 0.5, 0.0, -3.0, extent + 1.0, extent + 1.5, 1e300, -2147483649.0});
}

Call cellSlopeMasked(Source &s, const Scale &z) {
    bool empty = s.percent(8);
    mwSize M = empty ? 0 : size(s, 2, z.grid), N = empty ? size(s, 0, 4) : size(s, 2, z.grid);
    double m = static_cast<double>(M), n = static_cast<double>(N);
    Call call = pointCall<2>(s, z, [&] {
        if (!empty && s.percent(80)) {
            return std::array<double, 2>{floorIn(s, 1, static_cast<std::int64_t>(M)),
                                         floorIn(s, 1, static_cast<std::int64_t>(N))};
        }
        return std::array<double, 2>{outside(s, m), outside(s, n)};
    });
    call.add(image(s, {M, N}));
    std::int64_t cells = static_cast<std::int64_t>(M * N);
    ArrayPtr mask = numeric(s.percent(70) ? Dims{M, N} : Dims{static_cast<mwSize>(cells + s.between(0, 3)), 1},
                            mxINT32_CLASS);
    auto *bits = static_cast<std::int32_t *>(mxGetData(mask.get()));
    for (std::int64_t i = 0, c = static_cast<std::int64_t>(mxGetNumberOfElements(mask.get())); i < c; ++i)
        bits[i] = s.percent(30) ? 0 : s.pick<std::int32_t>({1, -1, 7, std::numeric_limits<std::int32_t>::min()});
    call.add(std::move(mask));
    call.nlhs = 2;
    junk(s, call);
    return call;
}

// gridInterp2 and gridInterp3: query arrays of one shape, or vectors
// spanning a grid; now and then a method, an extrapval of any class and a
// rule.  The grid takes at least 2 samples an axis, 1 for the 0-based rules.
template <int D>
Call gridInterp(Source &s, const Scale &z) {
    const char *rule = s.percent(70) ? nullptr : s.pick<const char *>({"interp", "constant", "nearest"});
    const std::int64_t least = rule && rule[0] != 'i' ? 1 : 2, most = D == 2 ? z.grid : z.volume;
    Dims dims{size(s, least, most), size(s, least, most)};
    if (D == 3) dims.push_back(size(s, least, most));
    Call call;
    call.add(image(s, dims));
    std::array<Dims, D> shapes;
    shapes.fill(anyDims(s, z.points));
    if (s.percent(25)) {
        for (int d = 0; d < D; ++d) {
            const mwSize n = size(s, 0, 5);
            shapes[static_cast<std::size_t>(d)] = (d == 1) == (D == 2 || s.percent(50)) ? Dims{n, 1} : Dims{1, n};
        }
    }
    for (int d = 0; d < D; ++d) {
        const double extent = static_cast<double>(dims[d == 0 ? 1 : d == 1 ? 0 : 2]);
        call.add(filled(shapes[static_cast<std::size_t>(d)], [&] { return coordinate(s, extent, true); }));
    }
    const int extra = rule ? 3 : static_cast<int>(s.pick<std::int64_t>({0, 0, 0, 1, 2}));
    if (extra > 0) call.add(ArrayPtr(mxCreateString(s.percent(50) ? "linear" : "Nearest")));
    if (extra > 1) call.add(scalar(s.pick({0.0, -1.0, kNaN, 255.0})));
    if (extra > 2) call.add(ArrayPtr(mxCreateString(rule)));
    call.nlhs = s.percent(90) ? 1 : 0;
    return call;
}
Call gridInterp2(Source &s, const Scale &z) { return gridInterp<2>(s, z); }
Call gridInterp3(Source &s, const Scale &z) { return gridInterp<3>(s, z); }

// 3-D volumes (the own host keeps a third extent of 2 or more).
Call volumeCall(Source &s, const Scale &z, const Dims &dims, bool specials, int nlhs) {
    double M = static_cast<double>(dims[0]), N = static_cast<double>(dims[1]), P = static_cast<double>(dims[2]);
    Call call = pointCall<3>(s, z, [&] {
        return std::array<double, 3>{coordinate(s, M, specials), coordinate(s, N, specials),
                                     coordinate(s, P, specials)};
    });
    call.add(image(s, dims));
    call.nlhs = nlhs;
    junk(s, call);
    return call;
}

Call trilinSample(Source &s, const Scale &z) {
    mwSize M = s.percent(5) ? 0 : size(s, 1, z.volume);
    return volumeCall(s, z, {M, size(s, 1, z.volume), size(s, 2, z.volume)}, true, 1);
}
Call voxelSlope(Source &s, const Scale &z) {
    return volumeCall(s, z, {size(s, 2, z.volume), size(s, 2, z.volume), size(s, 2, z.volume)}, true, 3);
}

// The cubic volume plug-ins serve only points whose 4x4x4 neighbourhood
// lies in the volume: 2 <= floor <= extent - 2 on every axis.
Call cubicVolume(Source &s, const Scale &z, int nlhs) {
    Dims dims{size(s, 4, z.volume + 1), size(s, 4, z.volume + 1), size(s, 4, z.volume + 1)};
    auto inside = [&](mwSize extent) { return floorIn(s, 2, static_cast<std::int64_t>(extent) - 2); };
    Call call = pointCall<3>(s, z, [&] {
        return std::array<double, 3>{inside(dims[0]), inside(dims[1]), inside(dims[2])};
    });
    call.add(image(s, dims));
    call.nlhs = nlhs;
    junk(s, call);
    return call;
}
Call cubicVolumeSample(Source &s, const Scale &z) { return cubicVolume(s, z, 1); }
Call cubicVolumeSlope(Source &s, const Scale &z) { return cubicVolume(s, z, 3); }

// Element codes: the served ones, truncated fractions of them, unknown ones.
// (Each draw is its own statement, so that a seed gives the same calls
// whatever order a compiler evaluates operands in.)
double code(Source &s, const Scale &z, std::initializer_list<double> served, bool unknownPositive) {
    switch (z.odd ? s.below(unknownPositive ? 4 : 3) : 0) {
    case 0: return s.pick(served);
    case 1: {
        double base = s.pick(served);
        return base + s.pick({0.25, 0.5, 0.99});
    }
    case 2: return s.pick({0.0, -0.0, -1.0, -4.5, -10.0, -0.7});
    default: {
        if (!s.percent(80)) return 1e6;
        double whole = static_cast<double>(s.between(-10, 10));
        return whole + s.pick({0.0, 0.5});
    }
    }
}

// n x anything local coordinates and companions of at least n values.
Call localPoints(Source &s, const Scale &z, double elt, int axes) {
    mwSize n = size(s, 0, z.points / 2);
    Call call;
    call.add(scalar(elt));
    Dims first = s.pick<Dims>({{n, 1}, {n, 1}, {n, size(s, 1, 3)}, {n, 2, 2}});
    call.add(filled(first, [&] { return anyValue(s); }));
    for (int a = 1; a < axes; ++a) call.add(filled({n + size(s, 0, 2), 1}, [&] { return anyValue(s); }));
    call.nlhs = 1;
    return call;
}
Call shapeValues2(Source &s, const Scale &z) { return localPoints(s, z, code(s, z, {3, 4}, true), 2); }
Call shapeValues3(Source &s, const Scale &z) { return localPoints(s, z, code(s, z, {4, 8}, true), 3); }

// Node coordinates of at least `elt` nodes: a well-shaped element, or any
// nodes (clockwise, degenerate, far away: those yield weight 0).
Call nodes(Source &s, const Scale &z, double elt, const std::vector<std::vector<double>> &shape) {
    std::int64_t count = elt >= 1 ? static_cast<std::int64_t>(elt) : 0;
    std::int64_t stored = count + s.between(0, 2);
    bool random = (z.odd && s.percent(25)) || shape.empty();
    double scale = s.pick({1.0, 3.0, 0.01, 1e4});
    Call call;
    call.add(scalar(elt));
    for (std::size_t axis = 0; axis < (shape.empty() ? 2 : shape[0].size()); ++axis) {
        ArrayPtr a = numeric({static_cast<mwSize>(stored), 1});
        for (std::int64_t i = 0; i < stored; ++i) {
            bool known = !random && i < static_cast<std::int64_t>(shape.size());
            mxGetPr(a.get())[i] = known ? scale * shape[static_cast<std::size_t>(i)][axis] + 0.05 * s.uniform(-1, 1)
                                  : s.percent(90) ? plain(s)
                                                  : special(s);
        }
        call.add(std::move(a));
    }
    return call;
}

Call candidates(Source &s, Call call, int axes, mwSize maxPoints) {
    mwSize n = size(s, 0, static_cast<std::int64_t>(maxPoints));
    Dims first = s.pick<Dims>({{n, 1}, {n, 1}, {n, size(s, 1, 2)}});
    auto point = [&] { return s.percent(85) ? s.uniform(-0.5, 3.5) : s.percent(50) ? special(s) : hair(s, 0.0); };
    call.add(filled(first, point));
    for (int a = 1; a < axes; ++a) call.add(filled({n + size(s, 0, 2), 1}, point));
    return call;
}

Call quadPixels(Source &s, const Scale &z) {
    double elt = code(s, z, {3, 4}, false);
    std::vector<std::vector<double>> shape;
    if (static_cast<int>(elt) == 3) shape = {{0, 0}, {2, 0}, {0, 2}};
    if (static_cast<int>(elt) == 4) shape = {{0, 0}, {3, 0}, {3, 2}, {0, 3}};
    Call call = candidates(s, nodes(s, z, elt, shape), 2, static_cast<mwSize>(z.points * 2 / 3));
    call.nlhs = 3;
    return call;
}

Call quadVoxels(Source &s, const Scale &z) {
    double elt = code(s, z, {4, 6, 8}, false);
    std::vector<std::vector<double>> shape;
    switch (static_cast<int>(elt)) {
    case 4: shape = {{0, 0, 0}, {3, 0, 0}, {0, 3, 0}, {0, 0, 3}}; break;
    case 6: shape = {{0, 0, 0}, {3, 0, 0}, {0, 3, 0}, {0, 0, 3}, {3, 0, 3}, {0, 3, 3}}; break;
    case 8: shape = {{0, 0, 0}, {3, 0, 0}, {3, 3, 0}, {0, 3, 0}, {0, 0, 3}, {3, 0, 3}, {3, 3, 3}, {0, 3, 3}}; break;
    default: shape = {{0, 0, 0}};
    }
    Call call = candidates(s, nodes(s, z, elt, shape), 3, static_cast<mwSize>(z.newton));
    call.nlhs = 4;
    return call;
}

// Steps the basis plug-ins serve: 1 and above, fractions truncated.
double step(Source &s) { return s.pick({1.0, 1.0, 2.0, 3.0, 2.9, 1.5, 1e6}); }
std::int64_t visits(mwSize extent, std::int64_t s) { return (static_cast<std::int64_t>(extent) + s - 1) / s; }

ArrayPtr basis(Source &s, std::int64_t visited, mwSize columns) {
    return filled({static_cast<mwSize>(visited + (s.percent(70) ? 0 : s.between(1, 3))), columns},
                  [&] { return pixel(s); });
}

Call basis2(Source &s, const Scale &z) {
    mwSize M = size(s, 2, z.grid - 1), N = size(s, 2, z.grid - 1);
    Dims dims = s.percent(85) ? Dims{M, N} : Dims{M, N, 2};
    bool stepGiven = s.percent(60);
    double st = stepGiven ? step(s) : 1.0;
    std::int64_t si = static_cast<std::int64_t>(st);
    Call call;
    call.add(image(s, dims)).add(basis(s, visits(M, si) * visits(N, si), size(s, 0, 4)));
    if (stepGiven) {
        call.add(scalar(st));
        junk(s, call);
    }
    return call;
}

Dims volume3(Source &s, const Scale &z) {
    return {size(s, 2, z.volume - 1), size(s, 2, z.volume - 1), size(s, 2, z.volume - 1)};
}

Call basis3(Source &s, const Scale &z) {
    Dims dims = volume3(s, z);
    bool stepGiven = s.percent(60);
    double st = stepGiven ? step(s) : 1.0;
    std::int64_t si = static_cast<std::int64_t>(st);
    Call call;
    call.add(image(s, dims))
        .add(basis(s, visits(dims[0], si) * visits(dims[1], si) * visits(dims[2], si), size(s, 0, 3)));
    if (stepGiven) {
        call.add(scalar(st));
        junk(s, call);
    }
    return call;
}

Call basis3p(Source &s, const Scale &z) {
    Dims dims = volume3(s, z);
    std::int64_t visited = 1;
    std::array<ArrayPtr, 3> lists;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        mwSize length = s.percent(5) ? 0 : size(s, 1, z.volume - 2);
        lists[axis] = numeric({length, 1}, mxINT32_CLASS);
        auto *v = static_cast<std::int32_t *>(mxGetData(lists[axis].get()));
        for (mwSize i = 0; i < length; ++i)
            v[i] = static_cast<std::int32_t>(s.between(0, static_cast<std::int64_t>(dims[axis]) - 1));
        visited *= static_cast<std::int64_t>(length);
    }
    Call call;
    call.add(image(s, dims)).add(basis(s, visited, size(s, 0, 3)));
    for (ArrayPtr &l : lists) call.add(std::move(l));
    return call;
}

// Level-set fields: M x N with M, N >= 2 (a third dimension is ignored),
// a positive spacing.
Dims field(Source &s, const Scale &z) {
    mwSize M = size(s, 2, z.grid - 1), N = size(s, 2, z.grid - 1);
    return s.percent(85) ? Dims{M, N} : Dims{M, N, 2};
}
double spacing(Source &s) { return s.pick({1.0, 0.5, 2.0, 0.1, 3.7, 1e-3}); }

Call redistance(Source &s, const Scale &z) {
    double h = spacing(s);
    double T = s.percent(90) ? h * s.uniform(-1.0, 8.0) : s.pick({0.0, -1.0, kNaN, -kInf});
    Call call;
    call.add(image(s, field(s, z))).add(scalar(h)).add(scalar(T));
    return call;
}

Call redistanceOnce(Source &s, const Scale &z) {
    Call call;
    call.add(image(s, field(s, z))).add(scalar(spacing(s))).add(scalar(s.percent(90) ? s.uniform(0.0, 1.0) : plain(s)));
    return call;
}

// Two fields read at the same positions, the second of any shape holding
// enough values.
Call twoFields(Source &s, const Scale &z) {
    Dims dims = field(s, z);
    std::int64_t n = elements(dims);
    Dims second = s.percent(70) ? dims : Dims{static_cast<mwSize>(n + s.between(0, 4)), 1};
    Call call;
    call.add(image(s, dims)).add(image(s, second)).add(scalar(spacing(s))).add(scalar(s.uniform(-1.0, 1.0)));
    return call;
}

Call grayStats2(Source &s, const Scale &z) {
    Call call;
    call.add(filled(anyDims(s, z.points * 2), [&] { return anyValue(s); }));
    call.nlhs = 2;
    junk(s, call);
    return call;
}

Call grayStats3(Source &s, const Scale &z) {
    Dims dims = s.percent(10) ? s.pick<Dims>({{0, 2, 3}, {2, 0, 2}, {3, 3, 0}})
                              : Dims{size(s, 1, z.volume - 1), size(s, 1, z.volume - 1), size(s, 2, z.volume - 2)};
    ArrayPtr v = numeric(dims, mxINT32_CLASS);
    auto *p = static_cast<std::int32_t *>(mxGetData(v.get()));
    for (std::int64_t i = 0, n = elements(dims); i < n; ++i)
        p[i] = s.percent(80)
                   ? static_cast<std::int32_t>(s.between(-1000, 1000))
                   : s.pick({std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()});
    Call call;
    call.add(std::move(v));
    call.nlhs = 2;
    junk(s, call);
    return call;
}

Call finiteDifference(Source &s, const Scale &z) {
    Dims dims;
    switch (s.below(4)) {
    case 0: dims = {size(s, 0, 5), 0}; break;
    case 1: dims = {size(s, 2, z.grid), 1}; break;
    case 2: dims = {size(s, 2, z.grid - 3), size(s, 1, z.grid - 4)}; break;
    default: dims = {size(s, 2, z.volume - 2), size(s, 1, z.volume - 3), size(s, 2, z.volume - 3)}; break;
    }
    Call call;
    call.add(filled(dims, [&] { return anyValue(s); }));
    return call;
}

// Stacks of 6x6 matrices: diagonally dominant ones, now and then a singular
// one (refused with the documented message) or one holding NaN or Inf.
Call invert6(Source &s, const Scale &z) {
    mwSize n = size(s, 0, z.stack);
    ArrayPtr a = numeric({36, n});
    double *p = mxGetPr(a.get());
    for (mwSize k = 0; k < n; ++k) {
        double *m = p + 36 * k;
        int kind = z.odd ? static_cast<int>(s.below(10)) : 9;
        for (int q = 0; q < 6; ++q)
            for (int r = 0; r < 6; ++r) m[6 * q + r] = r == q ? s.uniform(20.0, 40.0) : s.uniform(-3.0, 3.0);
        if (kind == 0) m[s.below(36)] = special(s);
        if (kind == 1) {  // a zero column
            std::uint64_t q = s.below(6);
            for (int r = 0; r < 6; ++r) m[6 * q + r] = 0.0;
        }
    }
    Call call;
    call.add(std::move(a));
    return call;
}

// Output shapes.
Shapes likeFirst(const Inputs &in, int outputs) { return Shapes(outputs, Dims{rowsOf(in[0]), colsOf(in[0])}); }
Shapes oneLikeFirst(const Inputs &in) { return likeFirst(in, 1); }
Shapes twoLikeFirst(const Inputs &in) { return likeFirst(in, 2); }
Shapes threeLikeFirst(const Inputs &in) { return likeFirst(in, 3); }
Shapes nodeValues2(const Inputs &in) { return {{firstDim(in[1]), 4}}; }
Shapes nodeValues3(const Inputs &in) { return {{firstDim(in[1]), 8}}; }
Shapes quad2(const Inputs &in) { return Shapes(3, Dims{firstDim(in[3]), 1}); }
Shapes quad3(const Inputs &in) { return Shapes(4, Dims{firstDim(in[4]), 1}); }
Shapes basisTimes2(const Inputs &in) { return {{rowsOf(in[1]), 2 * colsOf(in[1])}}; }
Shapes basisTimes3(const Inputs &in) { return {{rowsOf(in[1]), 3 * colsOf(in[1])}}; }
Shapes gridField(const Inputs &in) {
    mwSize M = dimOf(in[0], 0), N = dimOf(in[0], 1);
    if (M < 2 || N < 2) return {};
    return {{M, N}};
}
Shapes twoScalars(const Inputs &) { return {{1, 1}, {1, 1}}; }
// The shape of Xq, or numel(Yq) x numel(Xq) [x numel(Zq) but 1] for
// vectors of other shapes.
Shapes queryShape(const Inputs &in, int D) {
    Dims first(mxGetDimensions(in[1]), mxGetDimensions(in[1]) + mxGetNumberOfDimensions(in[1]));
    bool same = true;
    for (int d = 2; d <= D; ++d) {
        const mxArray *a = in[static_cast<std::size_t>(d)];
        same = same && Dims(mxGetDimensions(a), mxGetDimensions(a) + mxGetNumberOfDimensions(a)) == first;
    }
    if (same) return {first};
    Dims grid{mxGetNumberOfElements(in[2]), mxGetNumberOfElements(in[1])};
    if (D == 3 && mxGetNumberOfElements(in[3]) != 1) grid.push_back(mxGetNumberOfElements(in[3]));
    return {grid};
}
Shapes queryShape2(const Inputs &in) { return queryShape(in, 2); }
Shapes queryShape3(const Inputs &in) { return queryShape(in, 3); }
Shapes stack36(const Inputs &in) { return {{36, colsOf(in[0])}}; }

const char *const kThreeIn = "At least three inputs required.";
const char *const kFourIn = "At least four inputs required.";
const char *const kTwoIn = "At least two inputs required.";
const char *const kOneOut = "Only one output required.";
const char *const kTwoOut = "Only two outputs required.";
const char *const kThreeOut = "Three outputs required.";

}  // namespace

// lvsRedistance iterates about T / (h / 2) steps: calls asking for millions
// of them are served but too slow for a sweep (from 2^53 steps on the
// plug-in refuses, so those stay in).  feQuadVoxels runs Newton iterations
// of up to 100000 steps for each candidate point of a degenerate element.
bool costly(const Cost &cost, const Inputs &in) {
    switch (cost.rule) {
    case Cost::Steps: {
        if (static_cast<int>(in.size()) <= std::max(cost.a, cost.b)) return false;
        const mxArray *ha = in[static_cast<std::size_t>(cost.a)], *Ta = in[static_cast<std::size_t>(cost.b)];
        auto readable = [](const mxArray *a) {
            return (mxIsNumeric(a) || mxIsLogical(a) || mxIsChar(a)) && !mxIsEmpty(a);
        };
        if (!readable(ha) || !readable(Ta)) return false;
        double h = mxGetScalar(ha), T = mxGetScalar(Ta);
        if (!(h > 0) || !std::isfinite(h) || !std::isfinite(T) || T < 0) return false;
        double steps = T / (h * 0.5);
        return steps > 2e4 && steps < 0x1.0p53;
    }
    case Cost::Rows:
        return static_cast<int>(in.size()) > cost.a && mxGetM(in[static_cast<std::size_t>(cost.a)]) > cost.limit;
    default: return false;
    }
}

CountVerdict countVerdict(const Counts &c, int nlhs, const Inputs &in) {
    CountVerdict v;
    int nrhs = static_cast<int>(in.size());
    auto refuse = [&](const char *text) {
        v.passes = false;
        v.text = text;
        return v;
    };
    switch (c.rule) {
    case Counts::AtLeast:
        if (nrhs < c.inputs) return refuse(c.inputText);
        break;
    case Counts::Exactly:
        if (nrhs != c.inputs) return refuse(c.inputText);
        break;
    case Counts::Usage:
        if (nrhs != c.inputs || nlhs != c.outputs) return refuse(c.inputText);
        break;
    case Counts::UpTo:
        if (nrhs < c.inputs) return refuse(c.inputText);
        if (nlhs > c.outputs) return refuse(c.outputText);
        return v;
    case Counts::Stack36:
        if (nrhs == 0) {
            v.passes = false;
            v.anyError = true;
            return v;
        }
        if (mxGetM(in[0]) != 36) return refuse("Only 6x6 matrix !");
        if (nrhs > c.inputs) return refuse(c.inputText);
        break;
    }
    if (nlhs != c.outputs) return refuse(c.outputText);
    return v;
}

const std::vector<Model> &models() {
    // One plug-in per entry, fields bin-packed; clang-format would give a
    // long entry one line per field.
    // clang-format off
    static const std::vector<Model> all = {
        {"pxBilinSample", {Counts::AtLeast, 3, 1, kThreeIn, kOneOut}, bilinSample, oneLikeFirst, {}, {}, {}},
        {"pxBilinSampleClamp", {Counts::AtLeast, 3, 1, kThreeIn, kOneOut}, bilinBordered, oneLikeFirst, {}, {}, {}},
        {"pxBilinSampleHold", {Counts::AtLeast, 3, 1, kThreeIn, kOneOut}, bilinBordered, oneLikeFirst, {}, {}, {}},
        {"pxCellSlope", {Counts::AtLeast, 3, 2, kThreeIn, kTwoOut}, cellSlope, twoLikeFirst, {}, {}, {}},
        {"pxCellSlopeMasked", {Counts::AtLeast, 4, 2, kFourIn, kTwoOut}, cellSlopeMasked, twoLikeFirst, {}, {}, {}},
        {"pxCubicSample", {Counts::AtLeast, 3, 1, kThreeIn, kOneOut}, cubicSample, oneLikeFirst, {}, {}, {}},
        {"pxCubicSlope", {Counts::AtLeast, 3, 2, kThreeIn, kTwoOut}, cubicSlope, twoLikeFirst, {}, {}, {}},
        {"vxTrilinSample", {Counts::AtLeast, 4, 1, kFourIn, kOneOut}, trilinSample, oneLikeFirst, {}, {}, {}},
        {"vxCellSlope", {Counts::AtLeast, 4, 3, kFourIn, kThreeOut}, voxelSlope, threeLikeFirst, {}, {}, {}},
        {"vxCubicSample", {Counts::AtLeast, 4, 1, kFourIn, kOneOut}, cubicVolumeSample, oneLikeFirst, {}, {}, {}},
        {"vxCubicSlope", {Counts::AtLeast, 4, 3, kFourIn, kThreeOut}, cubicVolumeSlope, threeLikeFirst, {}, {}, {}},
        {"feShapeValues2", {Counts::Usage, 3, 1, "[FF]=feShapeValues2(elt,xg,yg)", nullptr}, shapeValues2,
         nodeValues2, {}, {0}, {}},
        {"feShapeValues3", {Counts::Usage, 4, 1, "[FF]=feShapeValues3(elt,xg,yg,zg)", nullptr}, shapeValues3,
         nodeValues3, {}, {0}, {}},
        {"feQuadPixels", {Counts::Usage, 5, 3, "[xg,yg,wg]=feQuadPixel(elt,xn,yn,xpix,ypix)", nullptr},
         quadPixels, quad2, {}, {0}, {}},
        {"feQuadVoxels",
         {Counts::Usage, 7, 4, "[xg,yg,zg,wg]=feQuadVoxel(elt,xn,yn,zn,xpix,ypix,zpix)", nullptr},
         quadVoxels, quad3, {}, {0}, {Cost::Rows, 4, 0, 8}},
        {"slopeBasis2", {Counts::AtLeast, 2, 1, kTwoIn, kOneOut}, basis2, basisTimes2, {}, {2}, {}},
        {"slopeBasis3", {Counts::AtLeast, 2, 1, kTwoIn, kOneOut}, basis3, basisTimes3, {}, {2}, {}},
        {"slopeBasis3p", {Counts::AtLeast, 2, 1, kTwoIn, kOneOut}, basis3p, basisTimes3, {}, {}, {}},
        {"lvsRedistance", {Counts::Exactly, 3, 1, "Three inputs required.", "One output required."}, redistance,
         gridField, {}, {1, 2}, {Cost::Steps, 1, 2}},
        {"lvsRedistance0", {Counts::Exactly, 3, 1, "Three inputs required.", "One output required."},
         redistanceOnce, gridField, {}, {1, 2}, {}},
        {"lvsAdvance", {Counts::Exactly, 4, 1, "Four inputs required.", "One output required."}, twoFields,
         gridField, {}, {2, 3}, {}},
        {"lvsOrthogonalise", {Counts::Exactly, 4, 1, "Four inputs required.", "One output required."}, twoFields,
         gridField, {}, {2, 3}, {}},
        {"lvsExtendField", {Counts::Exactly, 4, 1, "Four inputs required.", "One output required."}, twoFields,
         gridField, {}, {2, 3}, {}},
        {"pxGrayStats", {Counts::AtLeast, 1, 2, "Only one input required.", "Two outputs required."}, grayStats2,
         twoScalars, {}, {}, {}},
        {"vxGrayStats", {Counts::AtLeast, 1, 2, "Only one input required.", "Two outputs required."}, grayStats3,
         twoScalars, {}, {}, {}},
        {"fdSlope", {Counts::Exactly, 1, 1, "One inputs required.", "One output required."}, finiteDifference,
         oneLikeFirst, {}, {}, {}},
        {"gridInterp2", {Counts::UpTo, 3, 1, kThreeIn, "Too many outputs."}, gridInterp2, queryShape2, {}, {4}, {}},
        {"gridInterp3", {Counts::UpTo, 4, 1, kFourIn, "Too many outputs."}, gridInterp3, queryShape3, {}, {5}, {}},
        {"matInvert6", {Counts::Stack36, 1, 1, "Only one input required.", kOneOut}, invert6, stack36,
         {"Singular Matrix."}, {}, {}},
    };
    // clang-format on
    return all;
}

const Model *findModel(const std::string &name) {
    for (const Model &m : models())
        if (m.name == name) return &m;
    return nullptr;
}

const char *kindName(CallKind kind) {
    switch (kind) {
    case CallKind::Served: return "served";
    case CallKind::NearlyValid: return "nearly valid";
    default: return "random";
    }
}

Call makeCall(Source &s, const Model &model, CallKind kind) {
    for (;;) {
        Call call;
        if (kind == CallKind::Random) {
            bool documentedCounts = s.percent(50);
            int nrhs = documentedCounts ? model.counts.inputs + (model.counts.rule == Counts::AtLeast && s.percent(30))
                                        : static_cast<int>(s.between(0, 8));
            call.nlhs = documentedCounts ? model.counts.outputs : static_cast<int>(s.between(0, 5));
            for (int i = 0; i < nrhs; ++i) call.add(anyArray(s));
        } else {
            call = model.valid(s, kSweepScale);
            if (kind == CallKind::NearlyValid) {
                perturb(s, call);
                if (s.percent(20)) perturb(s, call);
            }
        }
        if (!costly(model.cost, call.raw())) return call;
    }
}

}  // namespace fuzz
