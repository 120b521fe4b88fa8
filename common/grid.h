// Rules of the pixel and voxel frame shared by every kernel.
#ifndef GRIDMEX_GRID_H
#define GRIDMEX_GRID_H

#include <cmath>
#include <cstdint>

namespace grid {

using Index = std::int64_t;

constexpr std::int32_t kNoCell = INT32_MIN;

// An element of an image or volume of any class as double(I) gives it: the
// exact value, or for 64-bit integers beyond 2^53 the nearest double.
template <typename T>
constexpr double toDouble(T v) {
    return static_cast<double>(v);
}

// Cell index of a coordinate: floor(x) as a 32-bit signed integer.  A NaN,
// or a floor outside the 32-bit range, gives -2147483648, without relying on
// an undefined conversion.
inline std::int32_t floorCell(double x) {
    double f = std::floor(x);
    return (f >= -2147483648.0 && f <= 2147483647.0) ? static_cast<std::int32_t>(f) : kNoCell;
}

}  // namespace grid

#endif
