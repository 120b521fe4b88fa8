// The reference finite elements: node order, shape functions, their
// derivatives and the strict inside test of each reference domain.  Shape
// values and integration points both take their elements from here.
//
// 2-D: Tri3 (nodes (0,0), (1,0), (0,1)) and Quad4 (nodes (-1,-1), (1,-1),
// (1,1), (-1,1)).  3-D: Tet4 (nodes (0,0,0), (1,0,0), (0,1,0), (0,0,1)),
// Hex8 (bottom face zeta = -1 then top face zeta = 1, each counter-clockwise
// from (-1,-1)) and Wedge6 (triangle (0,0), (1,0), (0,1) at zeta = -1, then
// the same triangle at zeta = 1).
//
// Every expression keeps its operation order: the last bit of the shape
// values and of the Newton iterates depends on it.
#ifndef GRIDMEX_FE_ELEMENTS_H
#define GRIDMEX_FE_ELEMENTS_H

#include <cmath>

namespace fe {

// An element code is the number of nodes, given as a double and truncated
// toward zero.  A NaN or a value beyond the int range serves no element and
// becomes 0, without relying on an undefined conversion.
inline int elementCode(double elt) { return std::fabs(elt) < 2147483648.0 ? static_cast<int>(elt) : 0; }

struct Tri3 {
    static constexpr int kNodes = 3;

    static void values(double xi, double eta, double N[kNodes]) {
        N[0] = (1 - xi) - eta;
        N[1] = xi;
        N[2] = eta;
    }
    static void slopes(double, double, double dXi[kNodes], double dEta[kNodes]) {
        dXi[0] = -1;
        dXi[1] = 1;
        dXi[2] = 0;
        dEta[0] = -1;
        dEta[1] = 0;
        dEta[2] = 1;
    }
    static bool inside(double xi, double eta) { return xi > 0 && eta > 0 && (1 - xi) - eta > 0; }
};

struct Quad4 {
    static constexpr int kNodes = 4;

    static void values(double xi, double eta, double N[kNodes]) {
        N[0] = 0.25 * (1 - xi) * (1 - eta);
        N[1] = 0.25 * (1 + xi) * (1 - eta);
        N[2] = 0.25 * (1 + xi) * (1 + eta);
        N[3] = 0.25 * (1 - xi) * (1 + eta);
    }
    static void slopes(double xi, double eta, double dXi[kNodes], double dEta[kNodes]) {
        dXi[0] = -0.25 * (1 - eta);
        dXi[1] = 0.25 * (1 - eta);
        dXi[2] = 0.25 * (1 + eta);
        dXi[3] = -0.25 * (1 + eta);
        dEta[0] = -0.25 * (1 - xi);
        dEta[1] = -0.25 * (1 + xi);
        dEta[2] = 0.25 * (1 + xi);
        dEta[3] = 0.25 * (1 - xi);
    }
    static bool inside(double xi, double eta) { return std::fabs(xi) < 1 && std::fabs(eta) < 1; }
};

struct Tet4 {
    static constexpr int kNodes = 4;

    static void values(double xi, double eta, double zeta, double N[kNodes]) {
        N[0] = ((1 - xi) - eta) - zeta;
        N[1] = xi;
        N[2] = eta;
        N[3] = zeta;
    }
    static void slopes(double, double, double, double dXi[kNodes], double dEta[kNodes], double dZeta[kNodes]) {
        dXi[0] = -1;
        dXi[1] = 1;
        dXi[2] = 0;
        dXi[3] = 0;
        dEta[0] = -1;
        dEta[1] = 0;
        dEta[2] = 1;
        dEta[3] = 0;
        dZeta[0] = -1;
        dZeta[1] = 0;
        dZeta[2] = 0;
        dZeta[3] = 1;
    }
    static bool inside(double xi, double eta, double zeta) {
        return xi > 0 && eta > 0 && zeta > 0 && ((1 - xi) - eta) - zeta > 0;
    }
};

struct Hex8 {
    static constexpr int kNodes = 8;
    // Local coordinates of the nodes: each is -1 or 1.
    static constexpr double kXi[kNodes] = {-1, 1, 1, -1, -1, 1, 1, -1};
    static constexpr double kEta[kNodes] = {-1, -1, 1, 1, -1, -1, 1, 1};
    static constexpr double kZeta[kNodes] = {-1, -1, -1, -1, 1, 1, 1, 1};

    static void values(double xi, double eta, double zeta, double N[kNodes]) {
        const double xm = 1 - xi, xp = 1 + xi, em = 1 - eta, ep = 1 + eta, zm = 1 - zeta, zp = 1 + zeta;
        N[0] = 0.125 * xm * em * zm;
        N[1] = 0.125 * xp * em * zm;
        N[2] = 0.125 * xp * ep * zm;
        N[3] = 0.125 * xm * ep * zm;
        N[4] = 0.125 * xm * em * zp;
        N[5] = 0.125 * xp * em * zp;
        N[6] = 0.125 * xp * ep * zp;
        N[7] = 0.125 * xm * ep * zp;
    }
    // (1 + xi_i xi) is computed as 1 - xi or 1 + xi, which is the same bits.
    static void slopes(double xi, double eta, double zeta, double dXi[kNodes], double dEta[kNodes],
                       double dZeta[kNodes]) {
        for (int i = 0; i < kNodes; ++i) {
            dXi[i] = 0.125 * kXi[i] * (1 + kEta[i] * eta) * (1 + kZeta[i] * zeta);
            dEta[i] = 0.125 * kEta[i] * (1 + kXi[i] * xi) * (1 + kZeta[i] * zeta);
            dZeta[i] = 0.125 * kZeta[i] * (1 + kXi[i] * xi) * (1 + kEta[i] * eta);
        }
    }
    static bool inside(double xi, double eta, double zeta) {
        return std::fabs(xi) < 1 && std::fabs(eta) < 1 && std::fabs(zeta) < 1;
    }
};

// The triangle (xi, eta) extruded along zeta from -1 to 1.
struct Wedge6 {
    static constexpr int kNodes = 6;

    static void values(double xi, double eta, double zeta, double N[kNodes]) {
        double K = (1 - xi) - eta;
        N[0] = (1 - zeta) * (0.5 * K);
        N[1] = (1 - zeta) * (0.5 * xi);
        N[2] = (1 - zeta) * (0.5 * eta);
        N[3] = (0.5 * K) * (1 + zeta);
        N[4] = (0.5 * xi) * (1 + zeta);
        N[5] = (0.5 * eta) * (1 + zeta);
    }
    static void slopes(double xi, double eta, double zeta, double dXi[kNodes], double dEta[kNodes],
                       double dZeta[kNodes]) {
        double K = (1 - xi) - eta;
        dXi[0] = -0.5 * (1 - zeta);
        dXi[1] = 0.5 * (1 - zeta);
        dXi[2] = 0;
        dXi[3] = -0.5 * (1 + zeta);
        dXi[4] = 0.5 * (1 + zeta);
        dXi[5] = 0;
        dEta[0] = -0.5 * (1 - zeta);
        dEta[1] = 0;
        dEta[2] = 0.5 * (1 - zeta);
        dEta[3] = -0.5 * (1 + zeta);
        dEta[4] = 0;
        dEta[5] = 0.5 * (1 + zeta);
        dZeta[0] = -0.5 * K;
        dZeta[1] = -0.5 * xi;
        dZeta[2] = -0.5 * eta;
        dZeta[3] = 0.5 * K;
        dZeta[4] = 0.5 * xi;
        dZeta[5] = 0.5 * eta;
    }
    static bool inside(double xi, double eta, double zeta) {
        return xi > 0 && eta > 0 && (1 - xi) - eta > 0 && std::fabs(zeta) < 1;
    }
};

}  // namespace fe

#endif
