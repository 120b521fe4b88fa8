// The sampling and gradient plug-ins on images and volumes of the classes
// users have (uint8, uint16, single) beside double: the same smooth grey
// levels and the same points, each class row compared with the double row
// measured just before it in the same run.
#include "bench/inputs.h"

#include <cstdint>
#include <string>

namespace bench {

namespace {

// A copy of a double array in class cls, every value times `scale`.
template <typename T>
ArrayPtr converted(const ArrayPtr &d, mxClassID cls, double scale) {
    const mwSize *dims = mxGetDimensions(d.get());
    ArrayPtr a(mxCreateNumericArray(mxGetNumberOfDimensions(d.get()), dims, cls, mxREAL));
    const double *p = data(d);
    T *q = static_cast<T *>(mxGetData(a.get()));
    for (std::size_t i = 0, n = mxGetNumberOfElements(d.get()); i < n; ++i) q[i] = static_cast<T>(p[i] * scale);
    return a;
}

struct Classed {
    const char *name;
    ArrayPtr array;
    double elementBytes;
};

// The grey levels (68 to 188) as uint8, as uint16 on the range of a 16-bit
// camera (times 256), and as single.
std::vector<Classed> classes(const ArrayPtr &grey) {
    std::vector<Classed> c;
    c.push_back({"uint8", converted<std::uint8_t>(grey, mxUINT8_CLASS, 1.0), 1});
    c.push_back({"uint16", converted<std::uint16_t>(grey, mxUINT16_CLASS, 256.0), 2});
    c.push_back({"single", converted<float>(grey, mxSINGLE_CLASS, 1.0), 4});
    return c;
}

struct Kind {
    const char *name;
    int outputs;
};

// For each plug-in, the double row and then one row per class against it.
void classRows(Results &results, std::vector<Row> &rows, const std::string &tag, std::vector<const mxArray *> in,
               const ArrayPtr &grey, const std::vector<Kind> &kinds) {
    const std::vector<Classed> others = classes(grey);
    const double n = double(mxGetNumberOfElements(in[0])), elements = double(mxGetNumberOfElements(grey.get()));
    const double coordinates = 8.0 * double(in.size() - 1);
    for (const Kind &k : kinds) {
        const std::string name = k.name + tag;
        in.back() = grey.get();
        Row reference{name + " double", "points", n, (coordinates + 8 * k.outputs) * n + 8 * elements, {0, 0}, {}, ""};
        measure(reference, k.name, k.outputs, in);
        rows.push_back(reference);
        const std::string key = "double " + name;
        results.peers[key] = Peer{"the double row above", {n / reference.seconds[0], n / reference.seconds[1]}};
        for (const Classed &c : others) {
            in.back() = c.array.get();
            Row row{name + " " + c.name,
                    "points",
                    n,
                    (coordinates + 8 * k.outputs) * n + c.elementBytes * elements,
                    {0, 0},
                    {key},
                    ""};
            measure(row, k.name, k.outputs, in);
            rows.push_back(row);
        }
    }
}

}  // namespace

void classWorkloads(Results &results) {
    const std::string planar = "Classes, 2-D: 2048 x 2048 image, 10 M points, against double";
    results.families.push_back(planar);
    {
        ArrayPtr image = smoothImage(2048, 2048);
        const double origin[2] = {20, 20}, step[2] = {1.0, 0.4};
        const PointSet coherent = coherentPoints2(2000, 5000, origin, step);
        const PointSet random = randomPoints(2, 2000, 2000 * 5000, 3, 2048 - 5);
        const std::vector<Kind> kinds = {
            {"pxBilinSample", 1}, {"pxCellSlope", 2}, {"pxCubicSample", 1}, {"pxCubicSlope", 2}};
        for (const auto &[tag, p] :
             {std::pair<const char *, const PointSet *>{" coherent", &coherent}, {" random", &random}})
            classRows(results, results.rows[planar], tag, {p->x.get(), p->y.get(), nullptr}, image, kinds);
    }
    const std::string spatial = "Classes, 3-D: 256^3 volume, 10 M points, against double";
    results.families.push_back(spatial);
    ArrayPtr volume = smoothVolume(256, 256, 256);
    const double origin[3] = {3, 3, 3}, step[3] = {1.0, 1.2, 1.2};
    const PointSet coherent = coherentPoints3(250, 200, 200, origin, step);
    const PointSet random = randomPoints(3, 250, 250 * 200 * 200, 3, 256 - 4);
    const std::vector<Kind> kinds = {
        {"vxTrilinSample", 1}, {"vxCellSlope", 3}, {"vxCubicSample", 1}, {"vxCubicSlope", 3}};
    for (const auto &[tag, p] :
         {std::pair<const char *, const PointSet *>{" coherent", &coherent}, {" random", &random}})
        classRows(results, results.rows[spatial], tag, {p->x.get(), p->y.get(), p->z.get(), nullptr}, volume, kinds);
}

}  // namespace bench
