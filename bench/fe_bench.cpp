// Integration points of meshes laid over pixel and voxel grids, as image
// correlation builds them: every element's bounding-box pixels (voxels) go
// through the quadrature plug-in, whose local coordinates then go through
// the shape-function plug-in.  2-D: a 2000 x 2000 pixel region meshed with
// 16-pixel quadrangles, and with the same quadrangles cut into triangles;
// 3-D: a 200^3 voxel region meshed with 8-voxel hexahedra, and with the
// same cubes cut into six tetrahedra each.  Nodes are displaced slightly so
// that the quadrangles and hexahedra are not affine images of the reference.
#include "bench/bench.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace bench {

namespace {

struct Element {
    int code;
    std::array<double, 8> x, y, z;
    Index cell;  // the grid cell whose bounding-box points it takes
};

struct Mesh {
    int dims;
    std::vector<ArrayPtr> px, py, pz;  // candidate points of each grid cell, n x 1
    std::vector<Element> elements;
    double candidates = 0;  // points over all elements
};

// A node of the regular grid of spacing `size`, displaced by a fixed
// pseudo-random amount under `jitter` along each axis.
std::array<double, 3> node(const Index i[3], double size, double jitter) {
    std::array<double, 3> p;
    for (int a = 0; a < 3; ++a)
        p[a] = 0.5 + size * i[a] + jitter * std::sin(12.9898 * i[0] + 78.233 * i[1] + 37.719 * i[2] + 1.7 * a);
    return p;
}

// The pixel (voxel) centres inside the bounding box of `corners`.
void boundingBoxPoints(Mesh &mesh, const std::vector<std::array<double, 3>> &corners) {
    Index lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
    Index n = 1;
    for (int a = 0; a < mesh.dims; ++a) {
        double mn = corners[0][a], mx = corners[0][a];
        for (const auto &c : corners) mn = std::min(mn, c[a]), mx = std::max(mx, c[a]);
        lo[a] = Index(std::ceil(mn));
        hi[a] = Index(std::floor(mx));
        n *= hi[a] - lo[a] + 1;
    }
    ArrayPtr px = doubles({n, 1}), py = doubles({n, 1}), pz = mesh.dims == 3 ? doubles({n, 1}) : ArrayPtr();
    Index i = 0;
    for (Index k = lo[2]; k <= hi[2]; ++k)
        for (Index c = lo[1]; c <= hi[1]; ++c)
            for (Index r = lo[0]; r <= hi[0]; ++r, ++i) {
                data(px)[i] = double(r);
                data(py)[i] = double(c);
                if (pz) data(pz)[i] = double(k);
            }
    mesh.px.push_back(std::move(px));
    mesh.py.push_back(std::move(py));
    mesh.pz.push_back(std::move(pz));
}

Element element(int code, const std::vector<std::array<double, 3>> &nodes, Index cell) {
    Element e{code, {}, {}, {}, cell};
    for (std::size_t n = 0; n < nodes.size(); ++n) e.x[n] = nodes[n][0], e.y[n] = nodes[n][1], e.z[n] = nodes[n][2];
    return e;
}

// 2-D: cells x cells squares of `size` pixels, each one quadrangle or two
// triangles (counter-clockwise, both numbered from the first corner).
Mesh mesh2(Index cells, double size, bool triangles) {
    Mesh mesh{2, {}, {}, {}, {}, 0};
    for (Index j = 0; j < cells; ++j)
        for (Index i = 0; i < cells; ++i) {
            Index a[3] = {i, j, 0}, b[3] = {i + 1, j, 0}, c[3] = {i + 1, j + 1, 0}, d[3] = {i, j + 1, 0};
            std::vector<std::array<double, 3>> q = {node(a, size, 1.5), node(b, size, 1.5), node(c, size, 1.5),
                                                    node(d, size, 1.5)};
            Index cell = Index(mesh.px.size());
            boundingBoxPoints(mesh, q);
            if (triangles) {
                mesh.elements.push_back(element(3, {q[0], q[1], q[2]}, cell));
                mesh.elements.push_back(element(3, {q[0], q[2], q[3]}, cell));
            } else {
                mesh.elements.push_back(element(4, q, cell));
            }
        }
    return mesh;
}

double det3(const std::array<double, 3> &u, const std::array<double, 3> &v, const std::array<double, 3> &w) {
    return u[0] * (v[1] * w[2] - v[2] * w[1]) - u[1] * (v[0] * w[2] - v[2] * w[0]) + u[2] * (v[0] * w[1] - v[1] * w[0]);
}

// 3-D: cells^3 cubes of `size` voxels, each one hexahedron or six
// tetrahedra along its main diagonal, numbered with a positive determinant.
Mesh mesh3(Index cells, double size, bool tetrahedra) {
    Mesh mesh{3, {}, {}, {}, {}, 0};
    const int hexOrder[8][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
    const int axes[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (Index k = 0; k < cells; ++k)
        for (Index j = 0; j < cells; ++j)
            for (Index i = 0; i < cells; ++i) {
                std::vector<std::array<double, 3>> hex;
                for (const auto &o : hexOrder) {
                    Index at[3] = {i + o[0], j + o[1], k + o[2]};
                    hex.push_back(node(at, size, 0.7));
                }
                Index cell = Index(mesh.px.size());
                boundingBoxPoints(mesh, hex);
                if (!tetrahedra) {
                    mesh.elements.push_back(element(8, hex, cell));
                    continue;
                }
                for (const auto &perm : axes) {
                    Index at[3] = {i, j, k};
                    std::vector<std::array<double, 3>> tet = {node(at, size, 0.7)};
                    for (int s = 0; s < 3; ++s) {
                        ++at[perm[s]];
                        tet.push_back(node(at, size, 0.7));
                    }
                    std::array<double, 3> e[3];
                    for (int s = 0; s < 3; ++s)
                        for (int a = 0; a < 3; ++a) e[s][a] = tet[s + 1][a] - tet[0][a];
                    if (det3(e[0], e[1], e[2]) < 0) std::swap(tet[2], tet[3]);
                    mesh.elements.push_back(element(4, tet, cell));
                }
            }
    return mesh;
}

ArrayPtr column(const std::array<double, 8> &v, int n) {
    ArrayPtr a = doubles({n, 1});
    std::copy(v.begin(), v.begin() + n, data(a));
    return a;
}

// Runs the chain over the whole mesh on each thread count, twice when that
// is quick, and keeps the best pass of each plug-in.  Returns the number of
// inside points.
double runMesh(const Mesh &mesh, Row &quad, Row &shape) {
    const mexhost::Plugin *pq = plugin(mesh.dims == 2 ? "feQuadPixels" : "feQuadVoxels");
    const mexhost::Plugin *ps = plugin(mesh.dims == 2 ? "feShapeValues2" : "feShapeValues3");
    if (!pq || !ps) {
        quad.note = shape.note = "not built";
        return 0;
    }
    double inside = 0;
    for (int t = 0; t < 2; ++t) {
        setThreads(kThreadCounts[t]);
        // A second pass only when the first was short: the tetrahedra alone
        // take tens of seconds a pass.
        for (int pass = 0; pass < 2 && (pass == 0 || quad.seconds[t] + shape.seconds[t] < 5); ++pass) {
            double sq = 0, ss = 0;
            inside = 0;
            for (const Element &e : mesh.elements) {
                ArrayPtr code = scalar(e.code), xn = column(e.x, e.code), yn = column(e.y, e.code), zn;
                std::vector<const mxArray *> in = {code.get(), xn.get(), yn.get()};
                if (mesh.dims == 3) {
                    zn = column(e.z, e.code);
                    in.push_back(zn.get());
                }
                in.push_back(mesh.px[e.cell].get());
                in.push_back(mesh.py[e.cell].get());
                if (mesh.dims == 3) in.push_back(mesh.pz[e.cell].get());
                std::vector<ArrayPtr> local, values;
                sq += timedCall(*pq, mesh.dims + 1, in, local);
                std::vector<const mxArray *> shapeIn = {code.get()};
                for (int a = 0; a < mesh.dims; ++a) shapeIn.push_back(local[a].get());
                ss += timedCall(*ps, 1, shapeIn, values);
                const double *w = data(local[mesh.dims]);
                for (std::size_t p = 0; p < mxGetNumberOfElements(local[mesh.dims].get()); ++p) inside += w[p];
            }
            quad.seconds[t] = pass ? std::min(quad.seconds[t], sq) : sq;
            shape.seconds[t] = pass ? std::min(shape.seconds[t], ss) : ss;
        }
    }
    return inside;
}

void meshRows(std::vector<Row> &rows, const Mesh &mesh, const std::string &tag, const std::string &peer) {
    double n = 0;
    for (const Element &e : mesh.elements) n += double(mxGetNumberOfElements(mesh.px[e.cell].get()));
    const int d = mesh.dims, nodes = d == 2 ? 4 : 8;
    const std::string q = d == 2 ? "feQuadPixels" : "feQuadVoxels", s = d == 2 ? "feShapeValues2" : "feShapeValues3";
    Row quad{q + tag, "points", n, (8.0 * d + 8.0 * (d + 1)) * n, {0, 0}, {}, ""};
    Row shape{s + tag, "points", n, (8.0 * d + 8.0 * nodes) * n, {0, 0}, {}, ""};
    double inside = runMesh(mesh, quad, shape);
    Row chain{q + " + " + s + tag,
              "points",
              n,
              quad.bytes + shape.bytes,
              {quad.seconds[0] + shape.seconds[0], quad.seconds[1] + shape.seconds[1]},
              {peer},
              quad.note};
    if (chain.note.empty())
        chain.note = std::to_string(mesh.elements.size()) + " elements, " + std::to_string(Index(inside)) + " inside";
    rows.push_back(quad);
    rows.push_back(shape);
    rows.push_back(chain);
}

}  // namespace

void elementWorkloads(Results &results) {
    const std::string family = "Finite elements: bounding-box pixels (voxels) of every element, then shape values";
    results.families.push_back(family);
    std::vector<Row> &rows = results.rows[family];
    meshRows(rows, mesh2(125, 16, false), " quadrangles 2000^2", "newton_quad");
    meshRows(rows, mesh2(125, 16, true), " triangles 2000^2", "newton_tri");
    meshRows(rows, mesh3(25, 8, false), " hexahedra 200^3", "newton_hex");
    meshRows(rows, mesh3(25, 8, true), " tetrahedra 200^3", "newton_tet");
}

}  // namespace bench
