% FDSLOPE  Finite-difference derivative down the columns of an array.
%
%   d = fdSlope(a) differentiates a along its first dimension on a unit
%   grid: central differences inside each column, one-sided ones at its
%   first and last row.  Applied to an image it gives the derivative
%   along rows.
%
%   a  M x N real array, M >= 2; further dimensions fold into the
%      columns, so an M x N x P array is taken as M x (N*P).  Any class
%      double, single, int8, uint8, int16, uint16, int32, uint32, int64,
%      uint64 or logical, each element read as double(a) reads it.
%   d  M x (N*P) double, in units of a per element:
%        d(1,c) = a(2,c) - a(1,c)
%        d(r,c) = (a(r+1,c) - a(r-1,c)) / 2    for 1 < r < M
%        d(M,c) = a(M,c) - a(M-1,c)
%      With M = 2 both rows get a(2,c) - a(1,c).  An input without
%      columns (M x 0, or 0 x 0) gives an empty result.
%
%   Errors:
%     "One inputs required."  other than one input
%     "One output required."  other than one output (none too)
%     fdSlope:notRealNumeric  a complex, sparse, or of no class above
%     fdSlope:tooFewRows      fewer than 2 rows, as for a row vector: the
%                             derivative runs down the columns
%
%   Example:
%     d = fdSlope((1:5)'.^2)           % [3; 4; 6; 8; 9]
%     I = magic(6);
%     gy = fdSlope(I.').';             % derivative along the columns
%
%   See also pxCellSlope, slopeBasis2, gradient, diff.

%!assert (fdSlope ((1:5)'.^2), [3; 4; 6; 8; 9])
%!assert (fdSlope ([1 10; 4 20; 9 40]), [3 10; 4 15; 5 20])
%!error id=fdSlope:tooFewRows d = fdSlope (1:5);
%!error <One inputs required\.> d = fdSlope ();
