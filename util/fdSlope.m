% FDSLOPE  Finite-difference derivative down the columns of an array.
%
%   d = fdSlope(a)
%
%   a  M x N real double array, M >= 2; further dimensions fold into the
%      columns, so an M x N x P array is taken as M x (N*P).
%   d  M x N double: (a(r+1) - a(r-1)) / 2 inside each column, a(2) - a(1)
%      in the first row and a(M) - a(M-1) in the last.
%
%   Errors: other than one input or one output; a non-double, complex or
%   sparse input (fdSlope:notRealDouble); fewer than 2 rows, as for a row
%   vector, since the derivative runs down the columns (fdSlope:tooFewRows).
%
%   Example:
%     gx = fdSlope(img);        % derivative along rows
%     gy = fdSlope(img.').';    % derivative along columns
%
%   See also: gradient, diff.
