% SLOPEBASIS3  Basis functions times the volume gradient, voxel by voxel.
%
%   result = slopeBasis3(volume, basis) multiplies each column of basis, a
%   set of functions sampled at the voxels (for instance finite-element
%   shape functions), by the volume derivative along rows, columns and
%   slices: the gradient-weighted basis of volume correlation.
%   result = slopeBasis3(volume, basis, step) visits every step-th voxel
%   along each axis.
%
%   volume  M x N x P real array, three-dimensional (further dimensions
%           are ignored),
%           of class double, single, int8, uint8, int16, uint16, int32,
%           uint32, int64, uint64 or logical, each element read as
%           double(volume) reads it (no converted copy is made).
%   basis   R x F real double; row i belongs to the i-th visited voxel.
%   step    scalar, truncated toward zero, at least 1 (default 1).
%   result  R x 3F double: columns 1..F the row derivative times basis,
%           F+1..2F the column derivative, 2F+1..3F the slice derivative.
%
%   Visited voxels: indices 1, 1+step, 1+2*step, ... along each axis, rows
%   fastest, then columns, then slices, so that R must be at least
%   ceil(M/step) * ceil(N/step) * ceil(P/step); rows of result beyond
%   that stay 0.  Derivatives are taken between direct neighbours whatever
%   the step: central inside, forward at index 1, backward at the last
%   index.
%
%   Errors:
%     "At least two inputs required."  fewer than two inputs
%     "Only one output required."      other than one output (none too)
%     slopeBasis3:notRealDouble        basis not real double
%     slopeBasis3:notRealNumeric       volume complex, sparse, or of no
%                                      class above
%     slopeBasis3:emptyStep            step empty
%     slopeBasis3:notNumeric           step a cell, struct or function handle
%     slopeBasis3:stepBelowOne         step below 1 after truncation, or NaN
%     slopeBasis3:notThreeDimensional  volume with two dimensions (an
%                                      M x N x 1 array is one)
%     slopeBasis3:volumeTooSmall       fewer than 2 voxels along an axis
%     slopeBasis3:tooShort             volume with fewer than M*N*P
%                                      elements (say 2 x 2 x 2 x 0)
%     slopeBasis3:basisTooShort        fewer basis rows than visited voxels
%   volumeTooSmall and tooShort are raised only when a voxel is visited:
%   a volume with an extent 0 gives a zero result.
%
%   Example:
%     [i, j, k] = ndgrid(1:3, 1:3, 1:3);
%     R = slopeBasis3(100 * i + 10 * j + k, ones(27, 1));  % rows [100 10 1]
%
%   See also slopeBasis3p, slopeBasis2, feShapeValues3, vxCellSlope.

%!test
%! [i, j, k] = ndgrid (1:3, 1:3, 1:3);
%! R = slopeBasis3 (100 * i + 10 * j + k, ones (27, 1));
%! assert (R, repmat ([100 10 1], 27, 1));
%!error id=slopeBasis3:notThreeDimensional R = slopeBasis3 (ones (3, 3), ones (9, 1));
%!error id=slopeBasis3:volumeTooSmall R = slopeBasis3 (ones (3, 1, 3), ones (9, 1));
%!error id=slopeBasis3:basisTooShort R = slopeBasis3 (ones (3, 3, 3), ones (7, 1), 2);
