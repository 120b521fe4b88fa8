% PXBILINSAMPLE  Bilinear interpolation of an image at sub-pixel points.
%
%   out = pxBilinSample(X, Y, I) samples the image I at the points
%   (X(k), Y(k)) by bilinear interpolation of the four pixels around each
%   point.  Pixel (i, j) sits at the point (i, j): X runs down the rows,
%   Y along the columns.  Points outside the valid range get -13.
%
%   X    row coordinates: real double array of any shape, m x n (further
%        dimensions fold into the columns).
%   Y    column coordinates: real double, at least numel(X) elements, read
%        at the same linear positions as X (its shape is not looked at).
%   I    M x N real image (any size, empty included)
%        of class double, single, int8, uint8, int16, uint16, int32,
%        uint32, int64, uint64 or logical, each element read as
%        double(I) reads it (no converted copy is made).
%   out  m x n double: the interpolated value at each point.
%
%   Range: a point is sampled when 2 <= floor(X) <= M-1 and
%   2 <= floor(Y) <= N-1, that is X in [2, M) and Y in [2, N): the cells
%   that start on the first row or column are outside too.  Every other
%   point, a NaN coordinate included, gets the sentinel -13.  Inputs after
%   the third are ignored.
%
%   Errors:
%     "At least three inputs required."  fewer than three inputs
%     "Only one output required."        other than one output (none too)
%     pxBilinSample:notRealDouble   X or Y not a real double array
%     pxBilinSample:notRealNumeric  I complex, sparse, or of no class above
%     pxBilinSample:tooShort        Y holds fewer elements than X
%
%   Example:
%     I = 10 * (1:6)' + (1:6);      % I(r, c) = 10 r + c
%     v = pxBilinSample([2.5 3 1.5], [4 5.5 3], I)   % 29, 35.5, -13
%
%   See also pxBilinSampleClamp, pxBilinSampleHold, pxCubicSample,
%   pxCellSlope, vxTrilinSample.

%!shared I
%! I = 10 * (1:6)' + (1:6);
%!assert (pxBilinSample ([2.5 3 1.5], [4 5.5 3], I), [29 35.5 -13])
%!assert (pxBilinSample ([1.9 2 5.5 6 NaN], [3 3 3 3 3], I), [-13 23 58 -13 -13])
%!error id=pxBilinSample:tooShort v = pxBilinSample ([2 3], 3, I);
%!error <At least three inputs required\.> v = pxBilinSample (2, 3);
