% PXCELLSLOPEMASKED  Image gradient at the pixel of each point, inside a mask.
%
%   [gx, gy] = pxCellSlopeMasked(X, Y, I, mask) is pxCellSlope with a pixel
%   mask: away from the image border a difference never uses a pixel
%   outside the mask.  Each derivative looks at its own axis only; along
%   rows, at pixel (l, h):
%     row 1 or row M         one-sided difference, mask not read;
%     pixel outside the mask 0;
%     next pixel outside     backward difference I(l,h) - I(l-1,h)
%                            (also when both neighbours are outside);
%     previous pixel outside forward difference I(l+1,h) - I(l,h);
%     otherwise              (I(l+1,h) - I(l-1,h)) / 2.
%   gy follows the same chain along columns.
%
%   X     row coordinates: real double array of any shape, m x n.
%   Y     column coordinates: real double, at least numel(X) elements.
%   I     M x N real image
%         of class double, single, int8, uint8, int16, uint16, int32,
%         uint32, int64, uint64 or logical, each element read as
%         double(I) reads it (no converted copy is made).
%   mask  M x N real array (at least M*N elements) of any class I may
%         have; a non-zero element marks a pixel inside (NaN is inside).
%   gx    m x n double: derivative along rows (first coordinate).
%   gy    m x n double: derivative along columns.
%
%   Range: as pxCellSlope, X in [1, M+1) and Y in [1, N+1); a point
%   outside the image in either axis, or with a NaN coordinate, gets 0 in
%   both outputs.  Along an axis of a single pixel the derivative is 0.
%
%   Errors:
%     "At least four inputs required."  fewer than four inputs
%     "Only two outputs required."      other than two outputs
%     pxCellSlopeMasked:notRealDouble  X or Y not a real double array
%     pxCellSlopeMasked:notRealNumeric I complex, sparse, or of no class
%                                      above
%     pxCellSlopeMasked:tooShort       Y shorter than X, or mask with
%                                      fewer than M*N elements
%     pxCellSlopeMasked:maskClass      mask complex, sparse, or of no
%                                      class above
%
%   Example:
%     I = (1:6)'.^2 + zeros(1, 6);  % I(r, c) = r^2
%     mask = true(6);  mask(3, 2) = false;
%     [gx, gy] = pxCellSlopeMasked([2 3 4], [2 2 2], I, mask);
%     % gx = [3 0 9], gy = [0 0 0]
%
%   See also pxCellSlope, pxCubicSlope, slopeBasis2.

%!shared I, mask
%! I = (1:6)'.^2 + zeros (1, 6);
%! mask = true (6);
%! mask(3, 2) = false;
%!test
%! [gx, gy] = pxCellSlopeMasked ([2 3 4], [2 2 2], I, mask);
%! assert (gx, [3 0 9]);
%! assert (gy, [0 0 0]);
%!error id=pxCellSlopeMasked:tooShort [gx, gy] = pxCellSlopeMasked (2, 3, I, mask(1:5, :));
%!error <At least four inputs required\.> [gx, gy] = pxCellSlopeMasked (2, 3, I);
