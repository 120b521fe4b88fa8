// The two evaluations of the cubic spline weights agree with the factored
// polynomials to rounding and keep the spline's properties.
#include "common/cubic_weights.h"
#include "tests/support/spline_reference.h"

#include <gtest/gtest.h>

namespace {

TEST(CubicWeights, BothFormsAgreeWithTheFactoredPolynomials) {
    for (int i = 0; i < 1000; ++i) {
        double t = i / 1000.0;
        double wf[4], df[4], we[4], de[4], wn[4], dn[4];
        testing_support::factoredSplineWeights(t, wf, df);
        cubic::expandedWeights(t, we);
        cubic::expandedSlopes(t, de);
        cubic::nestedWeights(t, wn);
        cubic::nestedSlopes(t, dn);
        double sumW = 0, sumD = 0;
        for (int a = 0; a < 4; ++a) {
            // 15-digit constants: agreement to a few units of 1e-15.
            EXPECT_NEAR(we[a], wf[a], 2e-15) << t;
            EXPECT_NEAR(de[a], df[a], 2e-15) << t;
            EXPECT_NEAR(wn[a], wf[a], 1e-15) << t;
            EXPECT_NEAR(dn[a], df[a], 2e-15) << t;
            sumW += wn[a];
            sumD += dn[a];
        }
        EXPECT_NEAR(sumW, 1.0, 1e-15);
        EXPECT_NEAR(sumD, 0.0, 1e-15);
    }
}

TEST(CubicWeights, InterpolateAtTheSamples) {
    double w[4];
    cubic::expandedWeights(0.0, w);
    EXPECT_EQ(w[0], 0.0);
    EXPECT_EQ(w[1], 1.0);
    EXPECT_EQ(w[2], 0.0);
    EXPECT_EQ(w[3], 0.0);
    cubic::nestedWeights(0.0, w);
    EXPECT_EQ(w[0], 0.0);
    EXPECT_EQ(w[1], 1.0);
    EXPECT_EQ(w[2], 0.0);
    EXPECT_EQ(w[3], 0.0);
    // At t = 1 the spline reaches the next sample.
    cubic::nestedWeights(1.0, w);
    EXPECT_NEAR(w[0], 0.0, 1e-15);
    EXPECT_NEAR(w[1], 0.0, 1e-15);
    EXPECT_NEAR(w[2], 1.0, 1e-15);
    EXPECT_NEAR(w[3], 0.0, 1e-15);
}

TEST(CubicWeights, NaturalEndConditionsBendAQuadratic) {
    // Samples of t^2 at -1, 0, 1, 2 are not reproduced in the middle interval.
    double w[4];
    cubic::nestedWeights(0.5, w);
    double value = w[0] * 1 + w[1] * 0 + w[2] * 1 + w[3] * 4;
    EXPECT_GT(std::abs(value - 0.25), 1e-3);
    // ... while a line is.
    double line = w[0] * -1 + w[1] * 0 + w[2] * 1 + w[3] * 2;
    EXPECT_NEAR(line, 0.5, 1e-15);
}

}  // namespace
