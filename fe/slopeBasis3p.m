% SLOPEBASIS3P  Basis functions times the volume gradient at listed voxels.
%
%   result = slopeBasis3p(volume, basis, rows, columns, slices) is
%   slopeBasis3 on the voxels of a tensor grid given by three lists of
%   0-based indices: it multiplies each column of basis by the volume
%   derivative along rows, columns and slices at those voxels.
%
%   volume   M x N x P real array, three-dimensional,
%            of class double, single, int8, uint8, int16, uint16, int32,
%            uint32, int64, uint64 or logical, each element read as
%            double(volume) reads it (no converted copy is made).
%   basis    R x F real double; row i belongs to the i-th visited voxel.
%   rows     int32 column of 0-based row indices, each in 0..M-1; its
%            length is its row count, so a row vector is one index.
%   columns  int32 column of 0-based column indices, in 0..N-1.
%   slices   int32 column of 0-based slice indices, in 0..P-1.
%   result   R x 3F double: columns 1..F the row derivative times basis,
%            F+1..2F the column derivative, 2F+1..3F the slice
%            derivative.
%
%   Visited voxels: (rows(a), columns(b), slices(d)) for every a, b, d,
%   a fastest, then b, then d, so that R must be at least
%   numel(rows) * numel(columns) * numel(slices); rows of result beyond
%   that stay 0.  Lists may be in any order and repeat indices.
%   Derivatives are taken between direct neighbours: central inside,
%   forward at index 0, backward at the last index.
%
%   Errors:
%     "At least two inputs required."  fewer than two inputs
%     "Only one output required."      other than one output (none too)
%     slopeBasis3p:missingLists         fewer than five inputs
%     slopeBasis3p:notRealDouble        basis not real double
%     slopeBasis3p:notRealNumeric       volume complex, sparse, or of no
%                                       class above
%     slopeBasis3p:notThreeDimensional  volume with two dimensions
%     slopeBasis3p:listNotInt32         an index list not real int32
%     slopeBasis3p:tooShort             an index list with fewer elements
%                                       than rows, or a volume with fewer
%                                       than M*N*P (say 2 x 2 x 2 x 0)
%     slopeBasis3p:volumeTooSmall       fewer than 2 voxels along an axis
%     slopeBasis3p:indexOutsideVolume   an index outside the volume
%     slopeBasis3p:basisTooShort        fewer basis rows than visited voxels
%   volumeTooSmall and the tooShort of the volume are raised only when a
%   voxel is visited: an empty index list gives a zero result.
%
%   Example:
%     [i, j, k] = ndgrid(1:5, 1:5, 1:5);
%     V = 100 * i + 10 * j + k;
%     r = int32([0; 4]);  c = int32([1; 2]);  s = int32([2; 3]);
%     R = slopeBasis3p(V, ones(8, 1), r, c, s)
%     % every row [100 10 1]
%
%   See also slopeBasis3, slopeBasis2, feShapeValues3.

%!shared V
%! [i, j, k] = ndgrid (1:5, 1:5, 1:5);
%! V = 100 * i + 10 * j + k;
%!assert (slopeBasis3p (V, ones (8, 1), int32 ([0; 4]), int32 ([1; 2]), int32 ([2; 3])),
%!        repmat ([100 10 1], 8, 1))
%!assert (slopeBasis3p (ones (1, 3, 3), ones (2, 1), int32 (zeros (0, 1)), int32 (0), int32 (0)),
%!        zeros (2, 3))
%!error id=slopeBasis3p:indexOutsideVolume R = slopeBasis3p (V, ones (8, 1), int32 ([0; 5]), int32 (1), int32 (1));
%!error id=slopeBasis3p:missingLists R = slopeBasis3p (V, ones (8, 1));
