% GRIDINTERP2  Linear or nearest interpolation on the implicit grid, as interp2.
%
%   v = gridInterp2(V, Xq, Yq) is interp2(V, Xq, Yq): the image V
%   interpolated linearly at the points (Xq(k), Yq(k)), where sample
%   V(r, c) sits at x = c, y = r.  Xq is the column coordinate, Yq the
%   row coordinate, as in interp2.  The whole grid is inside, its edges
%   included: 1 <= Xq <= N and 1 <= Yq <= M.  Points outside, and NaN
%   coordinates, get NaN.
%   v = gridInterp2(V, Xq, Yq, method) with method 'linear' (the default)
%   or 'nearest' (the nearest sample; halves go up, as in interp2).
%   v = gridInterp2(V, Xq, Yq, method, extrapval) gives extrapval to the
%   points outside and to NaN coordinates.
%   v = gridInterp2(V, Xq, Yq, method, extrapval, rule) with rule
%   'interp' (the default: all of the above), or the conventions of
%   scipy.ndimage.map_coordinates: 'constant' (coordinates 0-based,
%   inside when 0 <= Xq <= N-1 and 0 <= Yq <= M-1, extrapval elsewhere)
%   or 'nearest' (0-based, coordinates beyond an edge take the edge,
%   extrapval unused, NaN coordinates give NaN).
%
%   V          M x N real matrix, M, N >= 2 (>= 1 for the rules
%              'constant' and 'nearest') of class double, single, int8,
%              uint8, int16, uint16, int32, uint32, int64, uint64 or
%              logical, each element read as double(V) reads it (no
%              converted copy is made).
%   Xq, Yq     real double arrays of one size; or a row and a column
%              vector (either way round), which span the grid
%              meshgrid(Xq, Yq) as in interp2.
%   method     'linear' or 'nearest' (any case).
%   extrapval  number of any numeric class (default NaN).
%   rule       'interp', 'constant' or 'nearest'.
%   v          double, the size of Xq (numel(Yq) x numel(Xq) for vectors).
%
%   Arithmetic: 'interp' follows Octave's interp2 (a + b x + c y + d x y
%   on each cell), so the values are those of interp2(double(V), ...) in
%   Octave bit for bit; 'constant' and 'nearest' follow scipy's
%   map_coordinates on the C-ordered array V.' bit for bit.
%
%   Errors:
%     "At least three inputs required."  fewer than three inputs
%     "Too many outputs."                more than one output
%     gridInterp2:tooManyInputs   more than six inputs
%     gridInterp2:notRealNumeric  V complex, sparse, or of no class above
%     gridInterp2:notRealDouble   Xq or Yq not a real double array
%     gridInterp2:method          method other than 'linear', 'nearest'
%                                 (as when called with explicit grids
%                                 X, Y first)
%     gridInterp2:notNumeric      extrapval not a number
%     gridInterp2:emptyScalar     extrapval empty
%     gridInterp2:rule            rule other than the three above
%     gridInterp2:gridTooSmall    V not a matrix, or too few samples
%     gridInterp2:sizeMismatch    Xq and Yq of different sizes, not a row
%                                 and a column vector
%     gridInterp2:tooLarge        the grid of two vectors too large
%
%   Example:
%     V = 10 * (1:4)' + (1:5);        % V(r, c) = 10 r + c
%     v = gridInterp2(V, [2.5 5 6], [1 4 2])          % 12.5, 45, NaN
%     w = gridInterp2(V, 2.5, 3.5, 'nearest')         % 43
%
%   See also gridInterp3, interp2, pxBilinSample.

%!shared V
%! V = 10 * (1:4)' + (1:5);
%!assert (gridInterp2 (V, [2.5 5 6], [1 4 2]), [12.5 45 NaN])
%!assert (gridInterp2 (V, 2.5, 3.5, 'nearest'), 43)
%!assert (gridInterp2 (V, [0.5 NaN], [2 2], 'linear', -1), [-1 -1])
%!assert (gridInterp2 (V, [0 4], [0 3], 'linear', -1, 'constant'), [11 45])
%!assert (gridInterp2 (V, [1 2 3], [1; 2]), [11 12 13; 21 22 23])
%!error id=gridInterp2:sizeMismatch v = gridInterp2 (V, [1 2], [1 2 3]);
%!error id=gridInterp2:method v = gridInterp2 (V, 1, 1, 'cubic');
%!error <At least three inputs required\.> v = gridInterp2 (V, 1);
