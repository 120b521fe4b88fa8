// Images of every class give the bits of the call with double(I), for each
// pixel plug-in on points across every range rule, on one thread and on
// several; the masked gradient also with masks of every class.
#include "tests/support/element_types.h"

namespace {

using namespace testing_support;

struct Points {
    ArrayPtr X, Y;
};

// Points over an M x N image and beyond, enough to be split over threads.
Points points(std::mt19937 &rng, mwSize M, mwSize N) {
    const std::size_t n = 100003;
    Points p{matrix(1, n, rangeCoordinates(rng, double(M), n)), matrix(1, n, rangeCoordinates(rng, double(N), n))};
    return p;
}

TEST(PixelClasses, BilinearSamplingReadsEveryClassAsDouble) {
    std::mt19937 rng(1);
    for (auto [M, N] : {std::pair<mwSize, mwSize>{3, 3}, {37, 29}}) {
        const Points p = points(rng, M, N);
        for (const char *name : {"pxBilinSample", "pxBilinSampleClamp", "pxBilinSampleHold"})
            expectEveryClassGivesTheDoubleBits(name, 1, {p.X.get(), p.Y.get(), nullptr}, 2, {M, N}, rng);
    }
}

TEST(PixelClasses, CellGradientsReadEveryImageAndMaskClassAsDouble) {
    std::mt19937 rng(2);
    for (auto [M, N] : {std::pair<mwSize, mwSize>{1, 5}, {2, 2}, {37, 29}}) {
        const Points p = points(rng, M, N);
        expectEveryClassGivesTheDoubleBits("pxCellSlope", 2, {p.X.get(), p.Y.get(), nullptr}, 2, {M, N}, rng);
        // Images of every class under a mask of about half the pixels, and
        // masks of every class over a uint16 image; the double mask holds -0
        // (outside) and NaN (inside).
        const Classed mask = classed(mxLOGICAL_CLASS, {M, N}, rng, true), image = classed(mxUINT16_CLASS, {M, N}, rng);
        expectEveryClassGivesTheDoubleBits("pxCellSlopeMasked", 2, {p.X.get(), p.Y.get(), nullptr, mask.native.get()},
                                           2, {M, N}, rng);
        expectEveryClassGivesTheDoubleBits("pxCellSlopeMasked", 2, {p.X.get(), p.Y.get(), image.native.get(), nullptr},
                                           3, {M, N}, rng, true);
    }
}

TEST(PixelClasses, CubicSamplingAndSlopesReadEveryClassAsDouble) {
    std::mt19937 rng(3);
    for (auto [M, N] : {std::pair<mwSize, mwSize>{4, 4}, {37, 29}}) {
        const Points p = points(rng, M, N);
        expectEveryClassGivesTheDoubleBits("pxCubicSample", 1, {p.X.get(), p.Y.get(), nullptr}, 2, {M, N}, rng);
        expectEveryClassGivesTheDoubleBits("pxCubicSlope", 2, {p.X.get(), p.Y.get(), nullptr}, 2, {M, N}, rng);
    }
}

}  // namespace
