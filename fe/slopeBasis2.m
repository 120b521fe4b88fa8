% SLOPEBASIS2  Basis functions times the image gradient, pixel by pixel.
%
%   result = slopeBasis2(image, basis) multiplies each column of basis, a
%   set of functions sampled at the pixels (for instance finite-element
%   shape functions), by the image derivative along rows, then along
%   columns: the gradient-weighted basis of image correlation.
%   result = slopeBasis2(image, basis, step) visits every step-th pixel
%   along each axis.
%
%   image   M x N real array (further dimensions are ignored)
%           of class double, single, int8, uint8, int16, uint16, int32,
%           uint32, int64, uint64 or logical, each element read as
%           double(image) reads it (no converted copy is made).
%   basis   P x F real double; row i belongs to the i-th visited pixel.
%   step    scalar, truncated toward zero, at least 1 (default 1).
%   result  P x 2F double: columns 1..F the row derivative times basis,
%           columns F+1..2F the column derivative times basis.
%
%   Visited pixels: rows 1, 1+step, 1+2*step, ... <= M within columns
%   1, 1+step, ... <= N, rows fastest, so that P must be at least
%   ceil(M/step) * ceil(N/step); rows of result beyond that stay 0.
%   Derivatives are taken between direct neighbours whatever the step:
%   (f(r+1,c) - f(r-1,c)) / 2 inside, f(2,c) - f(1,c) on row 1 and
%   f(M,c) - f(M-1,c) on row M; the same along columns.
%
%   Errors:
%     "At least two inputs required."  fewer than two inputs
%     "Only one output required."      other than one output (none too)
%     slopeBasis2:notRealDouble   basis not a real double array
%     slopeBasis2:notRealNumeric  image complex, sparse, or of no class above
%     slopeBasis2:emptyStep       step empty
%     slopeBasis2:notNumeric      step a cell, struct or function handle
%     slopeBasis2:stepBelowOne    step below 1 after truncation, or NaN
%     slopeBasis2:imageTooSmall   fewer than 2 rows or 2 columns
%     slopeBasis2:tooShort        image with fewer than M*N elements
%                                 (extents such as 2 x 3 x 0)
%     slopeBasis2:basisTooShort   fewer basis rows than visited pixels
%   imageTooSmall and tooShort are raised only when a pixel is visited:
%   an image with 0 rows or columns gives a zero result.
%
%   Example:
%     I = 10 * (1:4)' + (1:5);                 % I(r, c) = 10 r + c
%     R = slopeBasis2(I, ones(6, 2), 2)        % 6 rows [10 10 1 1]
%
%   See also slopeBasis3, slopeBasis3p, feShapeValues2, pxCellSlope.

%!shared I
%! I = 10 * (1:4)' + (1:5);
%!assert (slopeBasis2 (I, ones (6, 2), 2), repmat ([10 10 1 1], 6, 1))
%!assert (slopeBasis2 (zeros (0, 5), ones (3, 1)), zeros (3, 2))
%!error id=slopeBasis2:basisTooShort R = slopeBasis2 (I, ones (5, 1), 2);
%!error id=slopeBasis2:stepBelowOne R = slopeBasis2 (I, ones (20, 1), 0.5);
%!error id=slopeBasis2:imageTooSmall R = slopeBasis2 (I(1, :), ones (5, 1));
