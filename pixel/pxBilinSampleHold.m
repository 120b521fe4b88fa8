% PXBILINSAMPLEHOLD  Bilinear image sampling, extrapolated beyond the border.
%
%   out = pxBilinSampleHold(X, Y, I) samples the image I at the points
%   (X(k), Y(k)) by bilinear interpolation, like pxBilinSample, but gives
%   every point a value: beyond the border the nearest edge cell is
%   extended linearly.  Pixel (i, j) sits at the point (i, j): X runs down
%   the rows, Y along the columns.
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
%     1 <= X < M   interpolated between the two rows around X;
%     X < 1        extrapolated from rows 1 and 2;
%     X >= M       extrapolated from rows M-2 and M-1 (not M-1 and M):
%                  at X = M the value is 2 I(M-1,:) - I(M-2,:).
%   A NaN coordinate gives NaN, and so does a coordinate of -Inf or +Inf
%   (the extrapolation weights become infinite).  Inputs after the third
%   are ignored.
%
%   Errors:
%     "At least three inputs required."  fewer than three inputs
%     "Only one output required."        other than one output (none too)
%     pxBilinSampleHold:notRealDouble    X or Y not a real double array
%     pxBilinSampleHold:notRealNumeric   I complex, sparse, or of no class above
%     pxBilinSampleHold:tooShort         Y holds fewer elements than X
%     pxBilinSampleHold:imageTooSmall    I smaller than 3 x 3 (and X not
%                                        empty)
%
%   Example:
%     I = 10 * (1:6)' + (1:6);      % I(r, c) = 10 r + c
%     v = pxBilinSampleHold([0.5 5.5 7], [3 3 3], I)   % 8, 58, 73
%
%   See also pxBilinSample, pxBilinSampleClamp, pxCubicSample.

%!shared I
%! I = 10 * (1:6)' + (1:6);
%!assert (pxBilinSampleHold ([0.5 5.5 7], [3 3 3], I), [8 58 73])
%!assert (pxBilinSampleHold ([Inf -Inf 2 NaN], [3 3 -Inf 3], I), NaN (1, 4))
%!error id=pxBilinSampleHold:imageTooSmall v = pxBilinSampleHold (2, 3, ones (3, 2));
%!error id=pxBilinSampleHold:tooShort v = pxBilinSampleHold ([2 3], 3, I);
