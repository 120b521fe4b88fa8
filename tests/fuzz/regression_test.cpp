// Calls the sweep found unsound, now refused with a message: arrays whose
// leading extents promise elements they do not hold, because a later
// dimension is 0 (a 7 x 0 coordinate column, a 2 x 3 x 0 field).
#include "tests/support/plugin_test.h"

using namespace testing_support;

namespace {

struct Case {
    const char *plugin;
    int nlhs;
    std::vector<const ArrayPtr *> inputs;
};

void expectTooShort(const Case &c) {
    std::vector<const mxArray *> raw;
    for (const ArrayPtr *a : c.inputs) raw.push_back(a->get());
    CallResult r = plugin(c.plugin).call(c.nlhs, raw);
    EXPECT_FALSE(r.ok) << c.plugin;
    EXPECT_EQ(r.errorId, std::string(c.plugin) + ":tooShort") << c.plugin << ": " << r.errorText;
}

TEST(FuzzRegressions, ExtentsWithoutElementsAreRefused) {
    ArrayPtr rows7 = array({7, 0}), col7 = matrix(7, 1), rows4 = array({4, 0}), col4 = matrix(4, 1);
    ArrayPtr tri = scalar(3), quad = scalar(4), hex = scalar(8);
    ArrayPtr xn4 = matrix(4, 1, {0, 1, 1, 0}), yn4 = matrix(4, 1, {0, 0, 1, 1});
    ArrayPtr xn8 = matrix(8, 1, {0, 1, 1, 0, 0, 1, 1, 0}), yn8 = matrix(8, 1, {0, 0, 1, 1, 0, 0, 1, 1}),
             zn8 = matrix(8, 1, {0, 0, 0, 0, 1, 1, 1, 1});
    for (const Case &c : std::vector<Case>{
             {"feShapeValues2", 1, {&tri, &rows7, &col7}},
             {"feShapeValues3", 1, {&quad, &rows7, &col7, &col7}},
             {"feQuadPixels", 3, {&quad, &xn4, &yn4, &rows4, &col4}},
             {"feQuadVoxels", 4, {&hex, &xn8, &yn8, &zn8, &rows4, &col4, &col4}},
         })
        expectTooShort(c);

    ArrayPtr image230 = array({2, 3, 0}), basis6 = matrix(6, 1);
    ArrayPtr volume5250 = array({5, 2, 5, 0}), basis50 = matrix(50, 1);
    ArrayPtr volume = array({3, 3, 3}), basis = matrix(27, 1), all3 = ofClass(mxINT32_CLASS, 3, 1),
             emptyRow = ofClass(mxINT32_CLASS, 1, 0);
    for (const Case &c : std::vector<Case>{
             {"slopeBasis2", 1, {&image230, &basis6}},
             {"slopeBasis3", 1, {&volume5250, &basis50}},
             {"slopeBasis3p", 1, {&volume, &basis, &emptyRow, &all3, &all3}},
         })
        expectTooShort(c);

    ArrayPtr field = array({2, 3, 0}), one = scalar(1);
    for (const Case &c : std::vector<Case>{
             {"lvsRedistance", 1, {&field, &one, &one}},
             {"lvsRedistance0", 1, {&field, &one, &one}},
             {"lvsAdvance", 1, {&field, &field, &one, &one}},
             {"lvsOrthogonalise", 1, {&field, &field, &one, &one}},
             {"lvsExtendField", 1, {&field, &field, &one, &one}},
         })
        expectTooShort(c);

    ArrayPtr point = scalar(3), hollow = array({5, 5, 4, 0});
    for (const Case &c : std::vector<Case>{
             {"vxTrilinSample", 1, {&point, &point, &point, &hollow}},
             {"vxCellSlope", 3, {&point, &point, &point, &hollow}},
             {"vxCubicSample", 1, {&point, &point, &point, &hollow}},
             {"vxCubicSlope", 3, {&point, &point, &point, &hollow}},
         })
        expectTooShort(c);
}

}  // namespace
