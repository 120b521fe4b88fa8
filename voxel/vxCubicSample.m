% VXCUBICSAMPLE  Cubic spline interpolation of a volume at sub-voxel points.
%
%   value = vxCubicSample(x, y, z, volume) samples the volume at the points
%   (x(p), y(p), z(p)) with a local cubic spline: along each axis the
%   natural cubic spline through the four nearest voxels, combined over
%   the 4 x 4 x 4 voxels around the point.  It interpolates (an integer
%   point returns its voxel) and reproduces linear data exactly.  Voxel
%   (i, j, k) sits at the point (i, j, k): x runs down the rows, y along
%   the columns, z along the slices.
%
%   x       row coordinates: real double array of any shape, m x n
%           (further dimensions fold into the columns).
%   y, z    column and slice coordinates: real double, at least numel(x)
%           elements each, read at the same linear positions as x.
%   volume  M x N x P real array, raw voxel values,
%           of class double, single, int8, uint8, int16, uint16, int32,
%           uint32, int64, uint64 or logical, each element read as
%           double(volume) reads it (no converted copy is made).
%   value   m x n double: the interpolated value at each point.
%
%   Range: a point is sampled when its 4 x 4 x 4 neighbourhood lies in the
%   volume: 2 <= floor(x) <= M-2, 2 <= floor(y) <= N-2 and
%   2 <= floor(z) <= P-2, that is x in [2, M-1) and likewise.  Every other
%   point, a NaN or infinite coordinate included, gets 0 and reads
%   nothing; a volume with fewer than 4 voxels along an axis gives 0
%   everywhere.  NaN voxels spread to every point whose neighbourhood
%   holds them.
%
%   Errors:
%     "At least four inputs required."  fewer than four inputs
%     "Only one output required."       other than one output (none too)
%     vxCubicSample:notRealDouble  x, y or z not a real double array
%     vxCubicSample:notRealNumeric volume complex, sparse, or of no class
%                                  above
%     vxCubicSample:tooShort       y or z holds fewer elements than x, or
%                                  the volume fewer than M*N*P (say
%                                  5 x 5 x 4 x 0; x not empty)
%
%   Example:
%     [i, j, k] = ndgrid(1:5, 1:5, 1:5);
%     V = 100 * i + 10 * j + k;
%     v = vxCubicSample([2 3.5 4], [3 3 3], [2 2 2], V)   % 232 382 0
%
%   See also vxCubicSlope, vxTrilinSample, pxCubicSample.

%!shared V
%! [i, j, k] = ndgrid (1:5, 1:5, 1:5);
%! V = 100 * i + 10 * j + k;
%!assert (vxCubicSample ([2 3.5 4], [3 3 3], [2 2 2], V), [232 382 0], 1e-12)
%!error id=vxCubicSample:tooShort v = vxCubicSample (2, 3, [], V);
%!error <Only one output required\.> vxCubicSample (2, 3, 2, V)
