% PXBILINSAMPLECLAMP  Bilinear image sampling, fixed value beyond the border.
%
%   out = pxBilinSampleClamp(X, Y, I) samples the image I at the points
%   (X(k), Y(k)) by bilinear interpolation, like pxBilinSample, but gives
%   every point a value: beyond the border the value is held fixed along
%   that axis.  Pixel (i, j) sits at the point (i, j): X runs down the
%   rows, Y along the columns.
%
%   X    row coordinates: real double array of any shape, m x n (further
%        dimensions fold into the columns).
%   Y    column coordinates: real double, at least numel(X) elements, read
%        at the same linear positions as X.
%   I    M x N real image, M >= 3 and N >= 3,
%        of class double, single, int8, uint8, int16, uint16, int32,
%        uint32, int64, uint64 or logical, each element read as
%        double(I) reads it (no converted copy is made).
%   out  m x n double: the value at each point.
%
%   Range rule, per axis (shown for X; Y is the same with N):
%     2 <= X < M   interpolated between the two rows around X;
%     X < 2        the mean of rows 2 and 3 (not row 1 or 2);
%     X >= M       the value of row M-1 (not row M).
%   A coordinate of -Inf or +Inf takes the rule of its side; a NaN
%   coordinate gives NaN.  Inputs after the third are ignored.
%
%   Errors:
%     "At least three inputs required."  fewer than three inputs
%     "Only one output required."        other than one output (none too)
%     pxBilinSampleClamp:notRealDouble   X or Y not a real double array
%     pxBilinSampleClamp:notRealNumeric  I complex, sparse, or of no class above
%     pxBilinSampleClamp:tooShort        Y holds fewer elements than X
%     pxBilinSampleClamp:imageTooSmall   I smaller than 3 x 3 (and X not
%                                        empty)
%
%   Example:
%     I = 10 * (1:6)' + (1:6);      % I(r, c) = 10 r + c
%     v = pxBilinSampleClamp([1.5 2.5 9], [3 3 3], I)   % 28, 28, 53
%
%   See also pxBilinSample, pxBilinSampleHold, pxCubicSample.

%!shared I
%! I = 10 * (1:6)' + (1:6);
%!assert (pxBilinSampleClamp ([1.5 2.5 9], [3 3 3], I), [28 28 53])
%!assert (pxBilinSampleClamp ([-Inf Inf 3 NaN], [3 3 Inf 3], I), [28 53 35 NaN])
%!error id=pxBilinSampleClamp:imageTooSmall v = pxBilinSampleClamp (2, 3, ones (2));
%!error <Only one output required\.> pxBilinSampleClamp (2, 3, I)
