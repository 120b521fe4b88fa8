// Realistic inputs of the sampling workloads: smooth grey-level images and
// volumes, and point sets as image correlation produces them (coherent: a
// regular grid of points with a smooth sub-pixel deformation, visited in
// the storage order of the image) or uniformly random ones; and the rows
// that time the volume plug-ins on such inputs.
#ifndef GRIDMEX_BENCH_INPUTS_H
#define GRIDMEX_BENCH_INPUTS_H

#include "bench/bench.h"

namespace bench {

// An M x N image of smoothly varying grey levels.
ArrayPtr smoothImage(Index M, Index N);

// An M x N x P volume of smoothly varying grey levels.
ArrayPtr smoothVolume(Index M, Index N, Index P);

// Coordinate arrays of one point set, all of the same shape.
struct PointSet {
    ArrayPtr x, y, z;  // z is empty for 2-D points
    Index count = 0;
};

// rows x cols points; the row coordinate steps by `step[0]` down a column of
// the arrays and the column coordinate by `step[1]` across, from `origin`,
// each displaced by a smooth field of amplitude under one pixel.
PointSet coherentPoints2(Index rows, Index cols, const double origin[2], const double step[2]);

// rows x cols x slices points stored as a rows x (cols * slices) array, in
// the storage order of the volume.
PointSet coherentPoints3(Index rows, Index cols, Index slices, const double origin[3], const double step[3]);

// `count` points stored as rows x (count / rows), each coordinate uniform in
// [lo, hi); `dims` is 2 or 3.
PointSet randomPoints(int dims, Index rows, Index count, double lo, double hi);

// Rows of the four volume plug-ins on one point set; `peerTag`, when not
// empty, names the Octave peers' point set.
void volumeRows(std::vector<Row> &rows, const std::string &tag, const PointSet &points, const ArrayPtr &volume,
                const std::string &peerTag);

}  // namespace bench

#endif
