% VXCELLSLOPE  Finite-difference volume gradient at the voxel of each point.
%
%   [gi, gj, gk] = vxCellSlope(x, y, z, volume) returns the gradient of the
%   volume at the voxel (floor(x(p)), floor(y(p)), floor(z(p))) of each
%   point: central differences inside, one-sided ones on the faces.  There
%   is no interpolation: all points of a voxel cell get the same gradient.
%   Voxel (i, j, k) sits at the point (i, j, k): x runs down the rows, y
%   along the columns, z along the slices.
%
%   x       row coordinates: real double array of any shape, m x n
%           (further dimensions fold into the columns).
%   y, z    column and slice coordinates: real double, at least numel(x)
%           elements each, read at the same linear positions as x.
%   volume  M x N x P real array; a 2-D array is one slice (P = 1);
%           of class double, single, int8, uint8, int16, uint16, int32,
%           uint32, int64, uint64 or logical, each element read as
%           double(volume) reads it (no converted copy is made).
%   gi      m x n double: derivative along rows, in grey levels per voxel:
%           (V(i+1,j,k) - V(i-1,j,k)) / 2 inside, V(2,j,k) - V(1,j,k) at
%           i = 1, V(M,j,k) - V(M-1,j,k) at i = M.
%   gj, gk  the same along columns and along slices.
%
%   Range: a point is inside when 1 <= floor(x) <= M, 1 <= floor(y) <= N
%   and 1 <= floor(z) <= P, that is x in [1, M+1) and likewise.  Every
%   other point, a NaN or infinite coordinate included, gets (0, 0, 0).
%   Along an axis of a single voxel the derivative is 0.
%
%   Errors:
%     "At least four inputs required."  fewer than four inputs
%     "Three outputs required."         other than three outputs
%     vxCellSlope:notRealDouble  x, y or z not a real double array
%     vxCellSlope:notRealNumeric volume complex, sparse, or of no class
%                                above
%     vxCellSlope:tooShort       y or z holds fewer elements than x, or
%                                the volume fewer than M*N*P (say
%                                5 x 5 x 4 x 0; x not empty)
%
%   Example:
%     [i, j, k] = ndgrid(1:5, 1:5, 1:5);
%     V = i.^2 + 10 * j + k;
%     [gi, gj, gk] = vxCellSlope([1 3.5 5.9 6], [2 2 2 2], [5 5 5 5], V);
%     % gi = [3 6 9 0], gj = [10 10 10 0], gk = [1 1 1 0]
%
%   See also vxCubicSlope, vxTrilinSample, pxCellSlope, slopeBasis3.

%!test
%! [i, j, k] = ndgrid (1:5, 1:5, 1:5);
%! V = i.^2 + 10 * j + k;
%! [gi, gj, gk] = vxCellSlope ([1 3.5 5.9 6], [2 2 2 2], [5 5 5 5], V);
%! assert (gi, [3 6 9 0]);
%! assert (gj, [10 10 10 0]);
%! assert (gk, [1 1 1 0]);
%!error id=vxCellSlope:tooShort [gi, gj, gk] = vxCellSlope ([2 3], 3, [3 3], ones (3, 3, 3));
%!error <Three outputs required\.> [gi, gj] = vxCellSlope (2, 2, 2, ones (3, 3, 3));
