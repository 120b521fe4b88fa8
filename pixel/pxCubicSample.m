% PXCUBICSAMPLE  Cubic spline interpolation of an image at sub-pixel points.
%
%   out = pxCubicSample(X, Y, I) samples the image I at the points
%   (X(k), Y(k)) with a local cubic spline: along each axis the natural
%   cubic spline through the four nearest pixels, combined over the 4 x 4
%   pixels around the point.  It interpolates (an integer point returns
%   its pixel) and reproduces linear ramps exactly.  Pixel (i, j) sits at
%   the point (i, j): X runs down the rows, Y along the columns.
%
%   X    row coordinates: real double array of any shape, m x n (further
%        dimensions fold into the columns).
%   Y    column coordinates: real double, at least numel(X) elements, read
%        at the same linear positions as X.
%   I    M x N real image, raw pixel values (no prefilter),
%        of class double, single, int8, uint8, int16, uint16, int32,
%        uint32, int64, uint64 or logical, each element read as
%        double(I) reads it (no converted copy is made).
%   out  m x n double: the interpolated value at each point.
%
%   Range: a point is sampled when 2 <= floor(X) <= M-3 and
%   2 <= floor(Y) <= N-3, that is X in [2, M-2) and Y in [2, N-2); the
%   4 x 4 neighbourhood never reaches the last row or column.  Every other
%   point, a NaN coordinate included, gets the sentinel -13; an image with
%   fewer than 5 rows or columns gives -13 everywhere.  Inputs after the
%   third are ignored.
%
%   Errors:
%     "At least three inputs required."  fewer than three inputs
%     "Only one output required."        other than one output (none too)
%     pxCubicSample:notRealDouble   X or Y not a real double array
%     pxCubicSample:notRealNumeric  I complex, sparse, or of no class above
%     pxCubicSample:tooShort        Y holds fewer elements than X
%
%   Example:
%     I = 10 * (1:6)' + (1:6);      % I(r, c) = 10 r + c
%     v = pxCubicSample([2 3.5 4], [3 3 3], I)   % 23, 38, -13
%
%   See also pxCubicSlope, pxBilinSample, vxCubicSample.

%!shared I
%! I = 10 * (1:6)' + (1:6);
%!assert (pxCubicSample ([2 3.5 4], [3 3 3], I), [23 38 -13], 1e-12)
%!assert (pxCubicSample (2.5, 2.5, I(1:4, :)), -13)
%!error id=pxCubicSample:tooShort v = pxCubicSample ([2 3], 3, I);
%!error <At least three inputs required\.> v = pxCubicSample (2, 3);
