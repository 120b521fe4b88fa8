% PXCUBICSLOPE  Cubic spline image gradient at sub-pixel points.
%
%   [gx, gy] = pxCubicSlope(X, Y, I) returns the two partial derivatives,
%   at the points (X(k), Y(k)), of the local cubic spline that
%   pxCubicSample interpolates: the same 4 x 4 neighbourhood, with the
%   weights of one axis replaced by their derivatives.  The gradient is
%   exact for linear ramps but not continuous across cell borders.
%   Pixel (i, j) sits at the point (i, j): X runs down the rows, Y along
%   the columns.
%
%   X    row coordinates: real double array of any shape, m x n (further
%        dimensions fold into the columns).
%   Y    column coordinates: real double, at least numel(X) elements, read
%        at the same linear positions as X.
%   I    M x N real image
%        of class double, single, int8, uint8, int16, uint16, int32,
%        uint32, int64, uint64 or logical, each element read as
%        double(I) reads it (no converted copy is made).
%   gx   m x n double: derivative along rows (first coordinate), in grey
%        levels per pixel.
%   gy   m x n double: derivative along columns.
%
%   Range: a point is inside when 2 <= floor(X) <= M-4 and
%   2 <= floor(Y) <= N-4, that is X in [2, M-3) and Y in [2, N-3): one
%   pixel less at the upper end than pxCubicSample.  Every other point, a NaN
%   coordinate included, gets 0 in both outputs (not -13); an image with
%   fewer than 6 rows or columns gives 0 everywhere.  Inputs after the
%   third are ignored.
%
%   Errors:
%     "At least three inputs required."  fewer than three inputs
%     "Only two outputs required."       other than two outputs
%     pxCubicSlope:notRealDouble    X or Y not a real double array
%     pxCubicSlope:notRealNumeric   I complex, sparse, or of no class above
%     pxCubicSlope:tooShort         Y holds fewer elements than X
%
%   Example:
%     I = 10 * (1:6)' + (1:6);      % I(r, c) = 10 r + c
%     [gx, gy] = pxCubicSlope([2 2.5 3], [2.5 2.5 2.5], I);
%     % gx = [10 10 0], gy = [1 1 0]
%
%   See also pxCubicSample, pxCellSlope, vxCubicSlope.

%!shared I
%! I = 10 * (1:6)' + (1:6);
%!test
%! [gx, gy] = pxCubicSlope ([2 2.5 3], [2.5 2.5 2.5], I);
%! assert (gx, [10 10 0], 1e-12);
%! assert (gy, [1 1 0], 1e-12);
%!error id=pxCubicSlope:tooShort [gx, gy] = pxCubicSlope ([2 3], 3, I);
%!error <Only two outputs required\.> gx = pxCubicSlope (2, 3, I);
