// feShapeValues2, feShapeValues3.
#include "tests/support/plugin_test.h"

#include <cmath>
#include <functional>
#include <limits>
#include <random>

using namespace testing_support;

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

// Local node coordinates of each element, node 1 first.
const std::vector<std::vector<double>> kTriNodes = {{0, 0}, {1, 0}, {0, 1}};
const std::vector<std::vector<double>> kQuadNodes = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
const std::vector<std::vector<double>> kTetNodes = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
const std::vector<std::vector<double>> kHexNodes = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                                                    {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};

// FF of `name` for points given by one column vector per coordinate.
std::vector<double> shapeValues(const char *name, double elt, const std::vector<std::vector<double>> &coords) {
    ArrayPtr E = scalar(elt);
    std::vector<ArrayPtr> cols;
    for (const auto &c : coords) cols.push_back(matrix(c.size(), 1, c));
    std::vector<ArrayPtr> out = coords.size() == 2 ? run(name, 1, {&E, &cols[0], &cols[1]})
                                                   : run(name, 1, {&E, &cols[0], &cols[1], &cols[2]});
    return out.empty() ? std::vector<double>{} : values(out[0].get());
}

// Points given as one row per point, turned into coordinate columns.
std::vector<std::vector<double>> columns(const std::vector<std::vector<double>> &points) {
    std::vector<std::vector<double>> c(points.front().size());
    for (const auto &p : points)
        for (std::size_t d = 0; d < p.size(); ++d) c[d].push_back(p[d]);
    return c;
}

TEST(ShapeValues, CountMessagesWordForWord) {
    ArrayPtr E = scalar(4), a = scalar(0.5);
    const std::string two = "[FF]=feShapeValues2(elt,xg,yg)", three = "[FF]=feShapeValues3(elt,xg,yg,zg)";
    EXPECT_EQ(call("feShapeValues2", 1, {&E, &a}).errorText, two);
    EXPECT_EQ(call("feShapeValues2", 1, {&E, &a, &a, &a}).errorText, two);
    EXPECT_EQ(call("feShapeValues2", 0, {&E, &a, &a}).errorText, two);
    EXPECT_EQ(call("feShapeValues2", 2, {&E, &a, &a}).errorText, two);
    EXPECT_EQ(call("feShapeValues3", 1, {&E, &a, &a}).errorText, three);
    EXPECT_EQ(call("feShapeValues3", 1, {&E, &a, &a, &a, &a}).errorText, three);
    EXPECT_EQ(call("feShapeValues3", 0, {&E, &a, &a, &a}).errorText, three);
    EXPECT_EQ(call("feShapeValues3", 2, {&E, &a, &a, &a}).errorText, three);
}

// Several points in one call also check the column-major layout: row p,
// column k at p + n k.
TEST(ShapeValues, DocumentedPoints2D) {
    EXPECT_EQ(shapeValues("feShapeValues2", 3, {{0, 0.25}, {0, 0.5}}),
              (std::vector<double>{1, 0.25, 0, 0.25, 0, 0.5, 0, 0}));
    EXPECT_EQ(shapeValues("feShapeValues2", 4, {{0, 1, -1, 2}, {0, 1, 1, 2}}),
              (std::vector<double>{0.25, 0, 0, 0.25, 0.25, 0, 0, -0.75, 0.25, 1, 0, 2.25, 0.25, 0, 1, -0.75}));
}

TEST(ShapeValues, DocumentedPoints3D) {
    std::vector<double> tet = shapeValues("feShapeValues3", 4, {{0, 0.25}, {0, 0.25}, {0, 0.25}});
    EXPECT_EQ(tet, (std::vector<double>{1, 0.25, 0, 0.25, 0, 0.25, 0, 0.25, 0, 0, 0, 0, 0, 0, 0, 0}));
    std::vector<double> hex = shapeValues("feShapeValues3", 8, {{0, 1, -1}, {0, 1, -1}, {0, 1, 1}});
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(hex[3 * k], 0.125) << "node " << k + 1;
        EXPECT_EQ(hex[3 * k + 1], k == 6 ? 1 : 0) << "node " << k + 1;
        EXPECT_EQ(hex[3 * k + 2], k == 4 ? 1 : 0) << "node " << k + 1;
    }
}

// Code truncated toward zero; codes without an element give zeros, the
// wedge included, and no error.
TEST(ShapeValues, ElementCodes) {
    const std::vector<std::vector<double>> p2 = {{0.3, -0.2}, {0.1, 0.4}};
    EXPECT_EQ(shapeValues("feShapeValues2", 3.9, p2), shapeValues("feShapeValues2", 3, p2));
    EXPECT_EQ(shapeValues("feShapeValues2", 4.7, p2), shapeValues("feShapeValues2", 4, p2));
    for (double elt : {-4.5, -3.0, 0.0, 2.0, 5.0, 8.0, 1e12, NaN})
        EXPECT_EQ(shapeValues("feShapeValues2", elt, p2), std::vector<double>(8, 0.0)) << "elt " << elt;

    const std::vector<std::vector<double>> p3 = {{0.3, -0.2}, {0.1, 0.4}, {0.2, 0.5}};
    EXPECT_EQ(shapeValues("feShapeValues3", 8.9, p3), shapeValues("feShapeValues3", 8, p3));
    EXPECT_EQ(shapeValues("feShapeValues3", 4.2, p3), shapeValues("feShapeValues3", 4, p3));
    for (double elt : {-8.0, 0.0, 3.0, 6.0, 7.0, 9.0, NaN})
        EXPECT_EQ(shapeValues("feShapeValues3", elt, p3), std::vector<double>(16, 0.0)) << "elt " << elt;
}

// At node j, N_k is 1 for k = j and 0 otherwise; columns beyond the nodes
// stay exactly 0.
TEST(ShapeValues, EachNodeIsItsOwnShapeFunction) {
    struct Case {
        const char *name;
        double elt;
        const std::vector<std::vector<double>> *nodes;
        std::size_t cols;
    } cases[] = {{"feShapeValues2", 3, &kTriNodes, 4},
                 {"feShapeValues2", 4, &kQuadNodes, 4},
                 {"feShapeValues3", 4, &kTetNodes, 8},
                 {"feShapeValues3", 8, &kHexNodes, 8}};
    for (const Case &c : cases) {
        const std::size_t n = c.nodes->size();
        std::vector<double> FF = shapeValues(c.name, c.elt, columns(*c.nodes));
        ASSERT_EQ(FF.size(), n * c.cols);
        for (std::size_t j = 0; j < n; ++j)
            for (std::size_t k = 0; k < c.cols; ++k)
                EXPECT_EQ(FF[j + n * k], j == k ? 1 : 0) << c.name << " code " << c.elt << " node " << j + 1;
    }
}

// Partition of unity, and reproduction of the functions each element
// spans (linear for simplices, bi- and trilinear for the others) at random
// points, outside the reference domain too.
TEST(ShapeValues, PartitionOfUnityAndReproduction) {
    using Fn = std::function<double(const std::vector<double> &)>;
    Fn linear2 = [](const std::vector<double> &u) { return 1.5 - 2 * u[0] + 0.75 * u[1]; };
    Fn bilinear = [&](const std::vector<double> &u) { return linear2(u) + 3 * u[0] * u[1]; };
    Fn linear3 = [](const std::vector<double> &u) { return -0.5 + u[0] + 2 * u[1] - 3 * u[2]; };
    Fn trilinear = [&](const std::vector<double> &u) {
        return linear3(u) + u[0] * u[1] - 2 * u[1] * u[2] + 0.5 * u[0] * u[2] + 4 * u[0] * u[1] * u[2];
    };
    struct Case {
        const char *name;
        double elt;
        const std::vector<std::vector<double>> *nodes;
        Fn f;
    } cases[] = {{"feShapeValues2", 3, &kTriNodes, linear2},
                 {"feShapeValues2", 4, &kQuadNodes, bilinear},
                 {"feShapeValues3", 4, &kTetNodes, linear3},
                 {"feShapeValues3", 8, &kHexNodes, trilinear}};
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> any(-1.5, 1.5);
    const std::size_t n = 300;
    for (const Case &c : cases) {
        const std::size_t dim = c.nodes->front().size();
        std::vector<std::vector<double>> points(n, std::vector<double>(dim));
        for (auto &p : points)
            for (double &u : p) u = any(rng);
        std::vector<double> FF = shapeValues(c.name, c.elt, columns(points));
        for (std::size_t p = 0; p < n; ++p) {
            double sum = 0, interpolated = 0;
            for (std::size_t k = 0; k < c.nodes->size(); ++k) {
                sum += FF[p + n * k];
                interpolated += FF[p + n * k] * c.f((*c.nodes)[k]);
            }
            EXPECT_NEAR(sum, 1, 1e-14) << c.name << " code " << c.elt << " point " << p;
            EXPECT_NEAR(interpolated, c.f(points[p]), 1e-12) << c.name << " code " << c.elt << " point " << p;
        }
    }
}

// n is the row count of xg: a row vector is one point, an N-D array has its
// first extent, and later values of xg and yg are not read.
TEST(ShapeValues, PointCountIsTheRowCountOfXg) {
    ArrayPtr E = scalar(4), xrow = row({0.5, 7, 7}), yrow = row({-0.5, 7, 7});
    std::vector<ArrayPtr> out = run("feShapeValues2", 1, {&E, &xrow, &yrow});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(dims(out[0].get()), (std::vector<mwSize>{1, 4}));
    EXPECT_EQ(values(out[0].get()), (std::vector<double>{0.1875, 0.5625, 0.1875, 0.0625}));

    ArrayPtr cube = array({2, 3, 2}), y6 = matrix(6, 1), E8 = scalar(8);
    out = run("feShapeValues3", 1, {&E8, &cube, &y6, &y6});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(dims(out[0].get()), (std::vector<mwSize>{2, 8}));

    ArrayPtr empty = matrix(0, 3), none = matrix(0, 0);
    out = run("feShapeValues2", 1, {&E, &empty, &none});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(dims(out[0].get()), (std::vector<mwSize>{0, 4}));
    out = run("feShapeValues3", 1, {&E8, &empty, &none, &none});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(dims(out[0].get()), (std::vector<mwSize>{0, 8}));
}

TEST(ShapeValues, RefusesUnsoundInputs) {
    ArrayPtr E = scalar(3), x = matrix(3, 1, {0.1, 0.2, 0.3}), y = matrix(3, 1), shortY = row({0.1, 0.2});
    CallResult r = call("feShapeValues2", 1, {&E, &x, &shortY});
    EXPECT_EQ(r.errorId, "feShapeValues2:tooShort");
    EXPECT_EQ(r.errorText, "yg must hold at least 3 elements (one per row of xg); it holds 2.");
    r = call("feShapeValues3", 1, {&E, &x, &y, &shortY});
    EXPECT_EQ(r.errorId, "feShapeValues3:tooShort");
    EXPECT_EQ(r.errorText, "zg must hold at least 3 elements (one per row of xg); it holds 2.");
    r = call("feShapeValues3", 1, {&E, &x, &shortY, &y});
    EXPECT_EQ(r.errorText, "yg must hold at least 3 elements (one per row of xg); it holds 2.");

    ArrayPtr single = ofClass(mxSINGLE_CLASS, 3, 1), complex = ofClass(mxDOUBLE_CLASS, 3, 1, mxCOMPLEX);
    r = call("feShapeValues2", 1, {&E, &single, &y});
    EXPECT_EQ(r.errorId, "feShapeValues2:notRealDouble");
    EXPECT_EQ(r.errorText, "xg must be a real double array (it is single).");
    r = call("feShapeValues3", 1, {&E, &x, &y, &complex});
    EXPECT_EQ(r.errorId, "feShapeValues3:notRealDouble");
    EXPECT_EQ(r.errorText, "zg must be a real double array (it is complex double).");

    ArrayPtr intCode = ofClass(mxINT8_CLASS, 1, 1);
    static_cast<std::int8_t *>(mxGetData(intCode.get()))[0] = 3;
    std::vector<ArrayPtr> out = run("feShapeValues2", 1, {&intCode, &x, &y});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(values(out[0].get())[0], 0.9) << "elt is read as a scalar, whatever its class";
}

}  // namespace
