% VXCUBICSLOPE  Cubic spline volume gradient at sub-voxel points.
%
%   [gi, gj, gk] = vxCubicSlope(x, y, z, volume) returns the three partial
%   derivatives, at the points (x(p), y(p), z(p)), of the local cubic
%   spline that vxCubicSample interpolates: the same 4 x 4 x 4
%   neighbourhood, with the weights of one axis replaced by their exact
%   derivatives.  Voxel (i, j, k) sits at the point (i, j, k): x runs down
%   the rows, y along the columns, z along the slices.
%
%   x       row coordinates: real double array of any shape, m x n
%           (further dimensions fold into the columns).
%   y, z    column and slice coordinates: real double, at least numel(x)
%           elements each, read at the same linear positions as x.
%   volume  M x N x P real array
%           of class double, single, int8, uint8, int16, uint16, int32,
%           uint32, int64, uint64 or logical, each element read as
%           double(volume) reads it (no converted copy is made).
%   gi      m x n double: derivative along rows, in grey levels per voxel.
%   gj, gk  m x n double: derivatives along columns and along slices.
%
%   Range: as vxCubicSample, 2 <= floor(x) <= M-2, 2 <= floor(y) <= N-2
%   and 2 <= floor(z) <= P-2, that is x in [2, M-1) and likewise.  Every
%   other point, a NaN or infinite coordinate included, gets (0, 0, 0)
%   and reads nothing.
%
%   Errors:
%     "At least four inputs required."  fewer than four inputs
%     "Three outputs required."         other than three outputs
%     vxCubicSlope:notRealDouble  x, y or z not a real double array
%     vxCubicSlope:notRealNumeric volume complex, sparse, or of no class
%                                 above
%     vxCubicSlope:tooShort       y or z holds fewer elements than x, or
%                                 the volume fewer than M*N*P (say
%                                 5 x 5 x 4 x 0; x not empty)
%
%   Example:
%     [i, j, k] = ndgrid(1:5, 1:5, 1:5);
%     V = 100 * i + 10 * j + k;
%     [gi, gj, gk] = vxCubicSlope([2 3.5 4], [3 3 3], [2 2 2], V);
%     % gi = [100 100 0], gj = [10 10 0], gk = [1 1 0]
%
%   See also vxCubicSample, vxCellSlope, pxCubicSlope.

%!test
%! [i, j, k] = ndgrid (1:5, 1:5, 1:5);
%! V = 100 * i + 10 * j + k;
%! [gi, gj, gk] = vxCubicSlope ([2 3.5 4], [3 3 3], [2 2 2], V);
%! assert (gi, [100 100 0], 1e-12);
%! assert (gj, [10 10 0], 1e-12);
%! assert (gk, [1 1 0], 1e-12);
%!error id=vxCubicSlope:tooShort [gi, gj, gk] = vxCubicSlope ([2 3], 3, 3, ones (5, 5, 5));
%!error <At least four inputs required\.> [gi, gj, gk] = vxCubicSlope (2, 3, 3);
