% PXCELLSLOPE  Finite-difference image gradient at the pixel of each point.
%
%   [gx, gy] = pxCellSlope(X, Y, I) returns the gradient of the image I at
%   the pixel (floor(X(k)), floor(Y(k))) of each point: central
%   differences inside the image, one-sided ones on its first and last row
%   and column.  There is no interpolation: all points of a cell
%   [l, l+1) x [h, h+1) get the gradient of pixel (l, h).  Pixel (i, j)
%   sits at the point (i, j): X runs down the rows, Y along the columns.
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
%        levels per pixel: (I(l+1,h) - I(l-1,h)) / 2, I(2,h) - I(1,h) on
%        row 1, I(M,h) - I(M-1,h) on row M.
%   gy   m x n double: the same along columns.
%
%   Range: a point is inside when 1 <= floor(X) <= M and 1 <= floor(Y) <= N,
%   that is X in [1, M+1) and Y in [1, N+1).  Every other point, a NaN
%   coordinate included, gets 0 in both outputs.  Along an axis of a
%   single pixel the derivative is 0.  Inputs after the third are ignored.
%
%   Errors:
%     "At least three inputs required."  fewer than three inputs
%     "Only two outputs required."       other than two outputs
%     pxCellSlope:notRealDouble   X or Y not a real double array
%     pxCellSlope:notRealNumeric  I complex, sparse, or of no class above
%     pxCellSlope:tooShort        Y holds fewer elements than X
%
%   Example:
%     I = (1:6)'.^2 + zeros(1, 6);  % I(r, c) = r^2
%     [gx, gy] = pxCellSlope([1 3.7 6.9 7], [2 2 2 2], I);
%     % gx = [3 6 11 0], gy = [0 0 0 0]
%
%   See also pxCellSlopeMasked, pxCubicSlope, fdSlope, vxCellSlope.

%!test
%! I = (1:6)'.^2 + zeros (1, 6);
%! [gx, gy] = pxCellSlope ([1 3.7 6.9 7], [2 2 2 2], I);
%! assert (gx, [3 6 11 0]);
%! assert (gy, [0 0 0 0]);
%!error id=pxCellSlope:tooShort [gx, gy] = pxCellSlope ([2 3], 3, magic (4));
%!error <Only two outputs required\.> gx = pxCellSlope (2, 3, magic (4));
