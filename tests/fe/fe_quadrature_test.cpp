// feQuadPixels, feQuadVoxels: messages, documented points, element codes,
// orientation, shapes and refusals.
#include "tests/fe/quad_calls.h"

#include <limits>

using namespace testing_support;

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

// Unit square, triangle with legs 2, unit cube, unit tetrahedron, unit wedge
// (local and physical coordinates coincide).
const std::vector<double> kSquareX = {0, 1, 1, 0}, kSquareY = {0, 0, 1, 1};
const std::vector<double> kTriX = {0, 2, 0}, kTriY = {0, 0, 2};
const std::vector<double> kCubeX = {0, 1, 1, 0, 0, 1, 1, 0}, kCubeY = {0, 0, 1, 1, 0, 0, 1, 1},
                          kCubeZ = {0, 0, 0, 0, 1, 1, 1, 1};
const std::vector<double> kTetX = {0, 1, 0, 0}, kTetY = {0, 0, 1, 0}, kTetZ = {0, 0, 0, 1};
const std::vector<double> kWedgeX = {0, 1, 0, 0, 1, 0}, kWedgeY = {0, 0, 1, 0, 0, 1}, kWedgeZ = {-1, -1, -1, 1, 1, 1};

// Expects point p of `r` to be (xi, eta, [zeta,] w) to within tol.
void expectPoint(const QuadPoints &r, std::size_t p, std::vector<double> want, double tol, const char *what) {
    ASSERT_GT(r.wg.size(), p) << what;
    std::vector<double> got = {r.xg[p], r.yg[p]};
    if (!r.zg.empty()) got.push_back(r.zg[p]);
    got.push_back(r.wg[p]);
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(got[i], want[i], tol) << what << ", point " << p + 1 << ", output " << i + 1;
}

// Every point is exactly (v, v, [v,] w).
void expectAll(const QuadPoints &r, double v, double w, std::size_t n, const char *what) {
    ASSERT_EQ(r.wg.size(), n) << what;
    for (std::size_t p = 0; p < n; ++p) {
        EXPECT_EQ(r.xg[p], v) << what << ", point " << p + 1;
        EXPECT_EQ(r.yg[p], v) << what << ", point " << p + 1;
        if (!r.zg.empty()) {
            EXPECT_EQ(r.zg[p], v) << what << ", point " << p + 1;
        }
        EXPECT_EQ(r.wg[p], w) << what << ", point " << p + 1;
    }
}

TEST(Quadrature, CountMessagesWordForWord) {
    const std::string pixels = "[xg,yg,wg]=feQuadPixel(elt,xn,yn,xpix,ypix)",
                      voxels = "[xg,yg,zg,wg]=feQuadVoxel(elt,xn,yn,zn,xpix,ypix,zpix)";
    ArrayPtr E = scalar(4), a = scalar(0.5);
    EXPECT_EQ(call("feQuadPixels", 3, {&E, &a, &a, &a}).errorText, pixels);
    EXPECT_EQ(call("feQuadPixels", 3, {&E, &a, &a, &a, &a, &a}).errorText, pixels);
    for (int nlhs : {0, 2, 4}) EXPECT_EQ(call("feQuadPixels", nlhs, {&E, &a, &a, &a, &a}).errorText, pixels);
    EXPECT_EQ(call("feQuadVoxels", 4, {&E, &a, &a, &a, &a, &a}).errorText, voxels);
    EXPECT_EQ(call("feQuadVoxels", 4, {&E, &a, &a, &a, &a, &a, &a, &a}).errorText, voxels);
    for (int nlhs : {0, 3, 5}) EXPECT_EQ(call("feQuadVoxels", nlhs, {&E, &a, &a, &a, &a, &a, &a}).errorText, voxels);
}

// Points on an edge, a face or a node are outside: every test is strict.
TEST(Quadrature, DocumentedPoints2D) {
    QuadPoints sq = quadPixels(4, kSquareX, kSquareY, {0.5, 0.75, 1.5, 1, 0, 0.3}, {0.5, 0.25, 0.5, 0.5, 0, 1});
    expectPoint(sq, 0, {0, 0, 1}, 0, "square centre");
    expectPoint(sq, 1, {0.5, -0.5, 1}, 1e-15, "square");
    for (std::size_t p = 2; p < 6; ++p) expectPoint(sq, p, {0, 0, 0}, 0, "square outside or on its border");

    QuadPoints tri = quadPixels(3, kTriX, kTriY, {0.5, 1, 0, 1.5, 0.2, 0}, {0.5, 1, 0.5, 0.6, 1.9, 0});
    expectPoint(tri, 0, {0.25, 0.25, 1}, 1e-15, "triangle");
    for (std::size_t p = 1; p < 6; ++p) expectPoint(tri, p, {0, 0, 0}, 0, "triangle outside or on its border");
}

TEST(Quadrature, DocumentedPoints3D) {
    QuadPoints cube = quadVoxels(8, kCubeX, kCubeY, kCubeZ, {0.5, 0.75, 1.5, 1, 0.5}, {0.5, 0.25, 0.5, 0.5, 0.5},
                                 {0.5, 0.5, 0.5, 0.5, 0});
    expectPoint(cube, 0, {0, 0, 0, 1}, 0, "cube centre");
    expectPoint(cube, 1, {0.5, -0.5, 0, 1}, 1e-15, "cube");
    for (std::size_t p = 2; p < 5; ++p) expectPoint(cube, p, {0, 0, 0, 0}, 0, "cube outside or on a face");

    QuadPoints tet = quadVoxels(4, kTetX, kTetY, kTetZ, {0.1, 0.5, 0.5, 0.6}, {0.2, 0.5, 0.25, 0.3},
                                {0.3, 0, 0.25, 0.3});
    expectPoint(tet, 0, {0.1, 0.2, 0.3, 1}, 1e-15, "tetrahedron");
    for (std::size_t p = 1; p < 4; ++p) expectPoint(tet, p, {0, 0, 0, 0}, 0, "tetrahedron outside or on a face");
}

// The wedge gets the strict inside test of its reference domain and weight 1
// inside, so wedges can be integrated.
TEST(Quadrature, WedgePoints) {
    QuadPoints w = quadVoxels(6, kWedgeX, kWedgeY, kWedgeZ, {0.25, 0.2, 0.5, 0.2, 0.2, 0, 0.7},
                              {0.25, 0.1, 0.5, 0.2, 0.2, 0.5, 0.4}, {0, 0.999, 0, 1, -1.1, 0, 0.5});
    expectPoint(w, 0, {0.25, 0.25, 0, 1}, 1e-15, "wedge");
    expectPoint(w, 1, {0.2, 0.1, 0.999, 1}, 1e-15, "wedge near its top");
    for (std::size_t p = 2; p < 7; ++p) expectPoint(w, p, {0, 0, 0, 0}, 0, "wedge outside or on a face");

    // A tapered wedge: its top triangle is the bottom one shrunk, so the
    // mapping is not affine.
    const std::vector<double> X = {0, 2, 0, 0.5, 1.5, 0.5}, Y = {0, 0, 2, 0.5, 0.5, 1.5}, Z = {0, 0, 0, 1, 1, 1};
    QuadPoints t = quadVoxels(6, X, Y, Z, {0.6}, {0.6}, {0.5});
    // At height 0.5 the cross-section is the triangle (0.25,0.25), (1.75,0.25),
    // (0.25,1.75): (0.6, 0.6) sits at xi = eta = 0.35 / 1.5.
    expectPoint(t, 0, {0.35 / 1.5, 0.35 / 1.5, 0, 1}, 1e-12, "tapered wedge");
}

// Nodes numbered the other way round, or all on a line or plane, give a
// determinant that is not positive: no point is inside.
TEST(Quadrature, ClockwiseAndDegenerateElementsHaveNoPoints) {
    const std::vector<double> px = {0.5, 0.2, 0.1, 1}, py = {0.5, 0.3, 0.1, 1};
    expectAll(quadPixels(3, {0, 0, 2}, {0, 2, 0}, px, py), 0, 0, 4, "clockwise triangle");
    expectAll(quadPixels(4, {0, 0, 1, 1}, {0, 1, 1, 0}, px, py), 0, 0, 4, "clockwise square");
    expectAll(quadPixels(4, {0, 1, 2, 3}, {0, 1, 2, 3}, px, py), 0, 0, 4, "quadrangle on a line");
    expectAll(quadPixels(3, {1, 1, 1}, {1, 1, 1}, px, py), 0, 0, 4, "triangle in one point");

    const std::vector<double> pz = {0.1, 0.2, 0.3, 0.25};
    expectAll(quadVoxels(4, {0, 0, 1, 0}, {0, 1, 0, 0}, kTetZ, px, py, pz), 0, 0, 4, "tetrahedron, nodes 2, 3 swapped");
    expectAll(quadVoxels(8, kCubeX, kCubeY, {1, 1, 1, 1, 0, 0, 0, 0}, px, py, pz), 0, 0, 4, "cube upside down");
    expectAll(quadVoxels(6, kWedgeX, kWedgeY, {1, 1, 1, -1, -1, -1}, px, py, pz), 0, 0, 4, "wedge upside down");
    expectAll(quadVoxels(8, kCubeX, kCubeY, std::vector<double>(8, 0.0), px, py, pz), 0, 0, 4, "flat hexahedron");
}

// Codes truncate toward zero; a code without an element leaves every point
// at the sentinel 2 with weight 0.
TEST(Quadrature, ElementCodes) {
    const std::vector<double> px = {0.75, 0.2, 3}, py = {0.25, 0.6, 3}, pz = {0.5, 0.1, 3};
    const QuadPoints square = quadPixels(4, kSquareX, kSquareY, px, py);
    const QuadPoints tri = quadPixels(3, kTriX, kTriY, px, py);
    for (double elt : {4.7, 4.0000001}) {
        QuadPoints r = quadPixels(elt, kSquareX, kSquareY, px, py);
        EXPECT_EQ(r.xg, square.xg);
        EXPECT_EQ(r.yg, square.yg);
        EXPECT_EQ(r.wg, square.wg);
    }
    EXPECT_EQ(quadPixels(3.99, kTriX, kTriY, px, py).xg, tri.xg);
    for (double elt : {0.0, -0.5, -3.0, -4.0, 1.0, 2.0, 5.0, 8.0, 1e12, -1e12, NaN, Inf})
        expectAll(quadPixels(elt, kSquareX, kSquareY, px, py), 2, 0, 3, "no 2-D element");

    const QuadPoints cube = quadVoxels(8, kCubeX, kCubeY, kCubeZ, px, py, pz);
    QuadPoints r = quadVoxels(8.9, kCubeX, kCubeY, kCubeZ, px, py, pz);
    EXPECT_EQ(r.zg, cube.zg);
    EXPECT_EQ(r.wg, cube.wg);
    for (double elt : {0.0, -4.0, -8.5, 3.0, 5.0, 7.0, 9.0, NaN})
        expectAll(quadVoxels(elt, kCubeX, kCubeY, kCubeZ, px, py, pz), 2, 0, 3, "no 3-D element");
}

TEST(Quadrature, PointsThatAreNotNumbersAreOutside) {
    QuadPoints sq = quadPixels(4, kSquareX, kSquareY, {NaN, 0.5, Inf, -Inf}, {0.5, NaN, 0.5, 0.5});
    expectAll(sq, 0, 0, 4, "square");
    QuadPoints cube = quadVoxels(8, kCubeX, kCubeY, kCubeZ, {0.5, 0.5, Inf}, {0.5, 0.5, 0.5}, {NaN, -Inf, 0.5});
    expectAll(cube, 0, 0, 3, "cube");
    QuadPoints nodes = quadPixels(4, {0, 1, 1, NaN}, kSquareY, {0.5}, {0.5});
    expectAll(nodes, 0, 0, 1, "a node that is not a number");
}

// n is the row count of xpix; every output is n x 1.
TEST(Quadrature, OutputsAreColumnsOfTheRowCountOfXpix) {
    ArrayPtr E = scalar(4), X = column(kSquareX), Y = column(kSquareY), Z = column(kCubeZ), X8 = column(kCubeX),
             Y8 = column(kCubeY);
    ArrayPtr P = matrix(3, 2, {0.5, 0.75, 2, 9, 9, 9}), Q = row({0.5, 0.25, 0.5, 9, 9, 9});
    std::vector<ArrayPtr> out = run("feQuadPixels", 3, {&E, &X, &Y, &P, &Q});
    ASSERT_EQ(out.size(), 3u);
    for (const ArrayPtr &o : out) EXPECT_EQ(dims(o.get()), (std::vector<mwSize>{3, 1}));
    EXPECT_EQ(values(out[2].get()), (std::vector<double>{1, 1, 0}));

    ArrayPtr E8 = scalar(8);
    out = run("feQuadVoxels", 4, {&E8, &X8, &Y8, &Z, &P, &Q, &Q});
    ASSERT_EQ(out.size(), 4u);
    for (const ArrayPtr &o : out) EXPECT_EQ(dims(o.get()), (std::vector<mwSize>{3, 1}));
    EXPECT_EQ(values(out[3].get()), (std::vector<double>{1, 1, 0}));

    ArrayPtr empty = matrix(0, 4), none = matrix(0, 0);
    out = run("feQuadPixels", 3, {&E, &X, &Y, &empty, &none});
    ASSERT_EQ(out.size(), 3u);
    for (const ArrayPtr &o : out) EXPECT_EQ(dims(o.get()), (std::vector<mwSize>{0, 1}));
    out = run("feQuadVoxels", 4, {&E8, &X8, &Y8, &Z, &empty, &none, &none});
    ASSERT_EQ(out.size(), 4u);
    for (const ArrayPtr &o : out) EXPECT_EQ(dims(o.get()), (std::vector<mwSize>{0, 1}));
}

TEST(Quadrature, RefusesUnsoundInputs) {
    ArrayPtr E3 = scalar(3), E4 = scalar(4), E5 = scalar(5), E6 = scalar(6), E8 = scalar(8);
    ArrayPtr two = column({0, 1}), three = column({0, 1, 0}), four = column({0, 1, 1, 0}),
             five = column({0, 0, 1, 1, 0}), P = column({0.5, 0.5}), shortP = scalar(0.5), none = matrix(0, 0);
    struct Case {
        const char *plugin;
        int nlhs;
        std::initializer_list<const ArrayPtr *> inputs;
        const char *id, *text;
    } cases[] = {
        {"feQuadPixels",
         3,
         {&E3, &two, &three, &P, &P},
         "tooShort",
         "xn must hold at least 3 elements (one per node of the element); it holds 2."},
        {"feQuadPixels",
         3,
         {&E4, &four, &three, &P, &P},
         "tooShort",
         "yn must hold at least 4 elements (one per node of the element); it holds 3."},
        {"feQuadPixels",
         3,
         {&E4, &four, &four, &P, &shortP},
         "tooShort",
         "ypix must hold at least 2 elements (one per row of xpix); it holds 1."},
        {"feQuadVoxels",
         4,
         {&E6, &five, &five, &five, &P, &P, &P},
         "tooShort",
         "xn must hold at least 6 elements (one per node of the element); it holds 5."},
        {"feQuadVoxels",
         4,
         {&E8, &four, &four, &four, &P, &P, &P},
         "tooShort",
         "xn must hold at least 8 elements (one per node of the element); it holds 4."},
        {"feQuadVoxels",
         4,
         {&E4, &four, &four, &three, &P, &P, &P},
         "tooShort",
         "zn must hold at least 4 elements (one per node of the element); it holds 3."},
        {"feQuadVoxels",
         4,
         {&E4, &four, &four, &four, &P, &P, &shortP},
         "tooShort",
         "zpix must hold at least 2 elements (one per row of xpix); it holds 1."},
    };
    for (const Case &c : cases) {
        CallResult r = call(c.plugin, c.nlhs, c.inputs);
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_EQ(r.errorId, std::string(c.plugin) + ":" + c.id);
        EXPECT_EQ(r.errorText, c.text);
    }

    // Node arrays are not read for a code without an element.
    expectAll(quadPixels(5, {1}, {}, {0.5}, {0.5}), 2, 0, 1, "unknown 2-D code, short nodes");
    expectAll(quadVoxels(0, {}, {}, {}, {0.5}, {0.5}, {0.5}), 2, 0, 1, "code 0, no nodes");

    ArrayPtr int32 = ofClass(mxINT32_CLASS, 2, 1), complex = ofClass(mxDOUBLE_CLASS, 4, 1, mxCOMPLEX),
             sparse = column({0.5, 0.5}), single = ofClass(mxSINGLE_CLASS, 8, 1);
    mexhost::setSparse(sparse.get(), true);
    CallResult r = call("feQuadPixels", 3, {&E4, &four, &complex, &P, &P});
    EXPECT_EQ(r.errorId, "feQuadPixels:notRealDouble");
    EXPECT_EQ(r.errorText, "yn must be a real double array (it is complex double).");
    r = call("feQuadPixels", 3, {&E4, &four, &four, &int32, &P});
    EXPECT_EQ(r.errorText, "xpix must be a real double array (it is int32).");
    r = call("feQuadVoxels", 4, {&E8, &single, &single, &single, &P, &P, &P});
    EXPECT_EQ(r.errorId, "feQuadVoxels:notRealDouble");
    EXPECT_EQ(r.errorText, "xn must be a real double array (it is single).");
    r = call("feQuadVoxels", 4, {&E4, &four, &four, &four, &P, &P, &sparse});
    EXPECT_EQ(r.errorText, "zpix must be a real double array (it is sparse double).");
    EXPECT_TRUE(call("feQuadPixels", 3, {&E4, &four, &four, &none, &none}).ok) << "no point, nothing to refuse";
}

}  // namespace
