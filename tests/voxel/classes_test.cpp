// Volumes of every class give the bits of the call with double(V), for each
// volume plug-in on points across every range rule, on one thread and on
// several.
#include "tests/support/element_types.h"

namespace {

using namespace testing_support;

TEST(VolumeClasses, EveryPluginReadsEveryClassAsDouble) {
    std::mt19937 rng(4);
    const std::pair<const char *, int> plugins[] = {
        {"vxTrilinSample", 1}, {"vxCellSlope", 3}, {"vxCubicSample", 1}, {"vxCubicSlope", 3}};
    for (const std::vector<mwSize> &dims : {std::vector<mwSize>{4, 4, 4}, {13, 9, 7}, {6, 5}}) {
        const std::size_t n = 100003;
        ArrayPtr x = matrix(1, n, rangeCoordinates(rng, double(dims[0]), n));
        ArrayPtr y = matrix(1, n, rangeCoordinates(rng, double(dims[1]), n));
        ArrayPtr z = matrix(1, n, rangeCoordinates(rng, dims.size() > 2 ? double(dims[2]) : 1.0, n));
        for (auto [name, nlhs] : plugins)
            expectEveryClassGivesTheDoubleBits(name, nlhs, {x.get(), y.get(), z.get(), nullptr}, 3, dims, rng);
    }
}

}  // namespace
