% VXTRILINSAMPLE  Trilinear interpolation of a volume at sub-voxel points.
%
%   value = vxTrilinSample(x, y, z, volume) samples the volume at the
%   points (x(p), y(p), z(p)) by trilinear interpolation of the eight
%   voxels around each point.  Voxel (i, j, k) sits at the point (i, j, k):
%   x runs down the rows, y along the columns, z along the slices.
%
%   x       row coordinates: real double array of any shape, m x n
%           (further dimensions fold into the columns).
%   y, z    column and slice coordinates: real double, at least numel(x)
%           elements each, read at the same linear positions as x.
%   volume  M x N x P real array; a 2-D array is one slice (P = 1);
%           of class double, single, int8, uint8, int16, uint16, int32,
%           uint32, int64, uint64 or logical, each element read as
%           double(volume) reads it (no converted copy is made).
%   value   m x n double: the interpolated value at each point.
%
%   Range: a point is sampled when 2 <= floor(x) <= M-1,
%   2 <= floor(y) <= N-1 and 2 <= floor(z) <= P-1, that is x in [2, M),
%   y in [2, N), z in [2, P): the cells that start on the first index are
%   outside too.  Every other point, a NaN or infinite coordinate
%   included, gets 0 and reads nothing; a volume with fewer than 3 voxels
%   along an axis gives 0 everywhere.  NaN voxels spread to the points
%   whose cells touch them.  Inputs after the fourth are ignored.
%
%   Errors:
%     "At least four inputs required."  fewer than four inputs
%     "Only one output required."       other than one output (none too)
%     vxTrilinSample:notRealDouble  x, y or z not a real double array
%     vxTrilinSample:notRealNumeric volume complex, sparse, or of no class
%                                   above
%     vxTrilinSample:tooShort       y or z holds fewer elements than x, or
%                                   the volume fewer than M*N*P (say
%                                   5 x 5 x 4 x 0; x not empty)
%
%   Example:
%     [i, j, k] = ndgrid(1:5, 1:5, 1:5);
%     V = 100 * i + 10 * j + k;
%     v = vxTrilinSample([2.5 4.5 1.5], [3 3 3], [2 2 2], V)  % 282 482 0
%
%   See also vxCubicSample, vxCellSlope, pxBilinSample.

%!shared V
%! [i, j, k] = ndgrid (1:5, 1:5, 1:5);
%! V = 100 * i + 10 * j + k;
%!assert (vxTrilinSample ([2.5 4.5 1.5], [3 3 3], [2 2 2], V), [282 482 0])
%!error id=vxTrilinSample:tooShort v = vxTrilinSample ([2 3], [3 3], 3, V);
%!error id=vxTrilinSample:tooShort v = vxTrilinSample (2, 3, 3, zeros (5, 5, 4, 0));
%!error <At least four inputs required\.> v = vxTrilinSample (2, 3, 3);
