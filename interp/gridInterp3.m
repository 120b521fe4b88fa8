% GRIDINTERP3  Linear or nearest interpolation on the implicit grid, as interp3.
%
%   v = gridInterp3(V, Xq, Yq, Zq) is interp3(V, Xq, Yq, Zq): the volume
%   V interpolated linearly at the points (Xq(k), Yq(k), Zq(k)), where
%   sample V(r, c, p) sits at x = c, y = r, z = p.  Xq is the column
%   coordinate, Yq the row coordinate and Zq the page coordinate, as in
%   interp3.  The whole grid is inside, its edges included.  Points
%   outside, and NaN coordinates, get NaN.
%   v = gridInterp3(V, Xq, Yq, Zq, method) with method 'linear' (the
%   default) or 'nearest' (the nearest sample; halves go up).
%   v = gridInterp3(V, Xq, Yq, Zq, method, extrapval) gives extrapval to
%   the points outside and to NaN coordinates.
%   v = gridInterp3(V, Xq, Yq, Zq, method, extrapval, rule) with rule
%   'interp' (the default: all of the above), or the conventions of
%   scipy.ndimage.map_coordinates: 'constant' (coordinates 0-based,
%   inside when 0 <= Xq <= N-1, 0 <= Yq <= M-1 and 0 <= Zq <= P-1,
%   extrapval elsewhere) or 'nearest' (0-based, coordinates beyond an
%   edge take the edge, extrapval unused, NaN coordinates give NaN).
%
%   V           M x N x P real array, M, N, P >= 2 (>= 1 for the rules
%               'constant' and 'nearest') of class double, single, int8,
%               uint8, int16, uint16, int32, uint32, int64, uint64 or
%               logical, each element read as double(V) reads it.
%   Xq, Yq, Zq  real double arrays of one size; or vectors of other sizes
%               or orientations, which span the grid meshgrid(Xq, Yq, Zq)
%               as in interp3.
%   method      'linear' or 'nearest' (any case).
%   extrapval   number of any numeric class (default NaN).
%   rule        'interp', 'constant' or 'nearest'.
%   v           double, the size of Xq (numel(Yq) x numel(Xq) x
%               numel(Zq) for vectors).
%
%   Arithmetic: 'interp' follows Octave's interp3 (the eight corners,
%   weights multiplied along x, y, z, added in its order), so the values
%   are those of interp3(double(V), ...) in Octave bit for bit (but on a
%   node beside an infinite or NaN sample, where Octave may take the cell
%   on the other side and give NaN); 'constant'
%   and 'nearest' follow scipy's map_coordinates on the C-ordered array
%   permute(V, [3 2 1]) bit for bit.
%
%   Errors:
%     "At least four inputs required."  fewer than four inputs
%     "Too many outputs."               more than one output
%     gridInterp3:tooManyInputs   more than seven inputs
%     gridInterp3:notRealNumeric  V complex, sparse, or of no class above
%     gridInterp3:notRealDouble   Xq, Yq or Zq not a real double array
%     gridInterp3:method          method other than 'linear', 'nearest'
%     gridInterp3:notNumeric      extrapval not a number
%     gridInterp3:emptyScalar     extrapval empty
%     gridInterp3:rule            rule other than the three above
%     gridInterp3:gridTooSmall    V of more than 3 dimensions, or too few
%                                 samples
%     gridInterp3:sizeMismatch    Xq, Yq, Zq of different sizes, not all
%                                 vectors
%     gridInterp3:tooLarge        the grid of three vectors too large
%
%   Example:
%     [y, x, z] = ndgrid(1:4, 1:5, 1:3);
%     V = 100 * z + 10 * y + x;
%     v = gridInterp3(V, [1.5 5 6], [2 4 1], [1 3 1])   % 121.5, 345, NaN
%
%   See also gridInterp2, interp3, vxTrilinSample.

%!shared V
%! [y, x, z] = ndgrid (1:4, 1:5, 1:3);
%! V = 100 * z + 10 * y + x;
%!assert (gridInterp3 (V, [1.5 5 6], [2 4 1], [1 3 1]), [121.5 345 NaN])
%!assert (gridInterp3 (V, 1.5, 1.5, 1.5, 'nearest'), 222)
%!assert (gridInterp3 (V, [0 4], [0 3], [0 2], 'linear', -1, 'constant'), [111 345])
%!assert (size (gridInterp3 (V, [1 2 3], [1; 2], [1 2 3 2])), [2 3 4])
%!error id=gridInterp3:sizeMismatch v = gridInterp3 (V, [1 2], [1 2], ones (2));
%!error id=gridInterp3:gridTooSmall v = gridInterp3 (V(:, :, 1), 1, 1, 1);
%!error <At least four inputs required\.> v = gridInterp3 (V, 1, 1);
