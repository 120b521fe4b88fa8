% MATINVERT6  Inverses of a stack of 6x6 matrices.
%
%   B = matInvert6(A)
%
%   A  36 x n real double array: column k holds matrix k as A_k(:).
%   B  36 x n: column k holds inv(A_k)(:).
%
%   Each matrix is inverted by Gaussian elimination with full pivoting and
%   back substitution; entries that cancel to within 1e-9 of the product
%   subtracted from them become exactly 0.  A matrix that meets a zero pivot
%   is printed (its pivot step, then its values one column per line) and the
%   call fails with "Singular Matrix.".
%
%   Errors: a row count other than 36 ("Only 6x6 matrix !", checked first),
%   more than one input, other than one output, no input
%   (matInvert6:noInput), a non-double, complex or sparse input
%   (matInvert6:notRealDouble), a singular matrix.
%
%   Example:
%     K = rand(6) + 6 * eye(6);
%     Kinv = reshape(matInvert6(K(:)), 6, 6);
%
%   See also: inv, mldivide.
