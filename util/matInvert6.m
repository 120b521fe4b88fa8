% MATINVERT6  Inverses of a stack of 6x6 matrices in one call.
%
%   B = matInvert6(A) inverts each 6x6 matrix stored in a column of A, by
%   Gaussian elimination with full pivoting and back substitution.
%
%   A  36 x n real double: column k holds matrix k as A_k(:).  A 6 x 6
%      array is refused: pass K(:) for a single matrix.  n may be 0.
%   B  36 x n double: column k holds inv(A_k)(:).
%
%   During elimination an entry that cancels to within 1e-9 of the
%   product subtracted from it becomes exactly 0.  The only singularity
%   test is a pivot equal to 0: then the failing matrix is printed (a
%   line "Pivot s s value" with the step s, then its 36 values, one
%   matrix column per line) and the call fails with "Singular Matrix.";
%   matrices after it are not processed and no result is returned.
%   Nearly singular matrices are inverted without warning.
%
%   Errors, in this order:
%     matInvert6:noInput        no input
%     "Only 6x6 matrix !"       A without exactly 36 rows
%     "Only one input required."   more than one input
%     "Only one output required."  other than one output (none too)
%     matInvert6:notRealDouble  A not a real double array
%     "Singular Matrix."        a zero pivot in some matrix
%
%   Example:
%     K = magic(6) + 6 * eye(6);
%     Kinv = reshape(matInvert6(K(:)), 6, 6);   % K * Kinv is eye(6)
%     E = 2 * eye(6);
%     B = matInvert6([K(:), E(:)]);             % two matrices at once
%
%   See also inv, mldivide.

%!shared K, E
%! K = magic (6) + 6 * eye (6);
%! E = 2 * eye (6);
%!test
%! B = matInvert6 ([K(:), E(:)]);
%! assert (reshape (B(:, 1), 6, 6) * K, eye (6), 1e-12);
%! assert (B(:, 2), 0.5 * reshape (eye (6), 36, 1));
%!error id=matInvert6:noInput B = matInvert6 ();
%!error <Only 6x6 matrix !> B = matInvert6 (K);
%!error <Singular Matrix\.> evalc ("B = matInvert6 (zeros (36, 1));");
