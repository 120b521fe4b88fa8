% The statistics, finite-difference and 6x6 inversion plug-ins as Octave
% users call them.
1;
% Both outputs of a statistics plug-in (expect_error asks for only one).
function [m, d] = stats(f, a)
  [m, d] = f(a);
end

% Messages as Octave shows them (the plug-in's name first).
expect_error(@() pxGrayStats([]), 'pxGrayStats: Two outputs required.');
try
  vxGrayStats(ones(2));    % asks for no output
  error('a call without output was accepted');
catch err
  assert(err.message, 'vxGrayStats: Two outputs required.');
end
expect_error(@() stats(@pxGrayStats, {1}), ...
             ['pxGrayStats: The image must be a real array of class double, single, int8, uint8, ' ...
              'int16, uint16, int32, uint32, int64, uint64 or logical (it is cell).']);
expect_error(@() stats(@vxGrayStats, [1i 2]), ...
             ['vxGrayStats: The volume must be a real array of class double, single, int8, uint8, ' ...
              'int16, uint16, int32, uint32, int64, uint64 or logical (it is complex double).']);
expect_error(@() fdSlope(1:5, 1), 'fdSlope: One inputs required.');
expect_error(@() fdSlope(1:5), ...
             'fdSlope: The input must have at least 2 rows: the derivative runs down the columns (it is 1 x 5).');
expect_error(@() matInvert6(eye(6)), 'matInvert6: Only 6x6 matrix !');
expect_error(@() matInvert6(eye(6), 2), 'matInvert6: Only 6x6 matrix !');
expect_error(@() matInvert6(ones(36, 1), 2), 'matInvert6: Only one input required.');
expect_error(@() matInvert6(), ...
             'matInvert6: One input required: a 36 x n array holding one 6x6 matrix per column.');
try
  B = matInvert6(int32(ones(36, 1)));
  error('an int32 stack was accepted');
catch err
  assert(err.identifier, 'matInvert6:notRealDouble');
end

% Statistics: the documented values, shapes and classes.
[m, d] = pxGrayStats([1 2; 3 4]);
assert([m, d], [2.5, sqrt(5 / 3)], 1e-15);
assert(size(m), [1 1]);
[m, d] = pxGrayStats(zeros(0, 4));
assert(isnan(m) && d == 0 && 1 / d == -Inf);
[m, d] = vxGrayStats(int32([intmax('int32'), intmin('int32'); intmax('int32'), intmax('int32')]));
assert(m, (3 * double(intmax('int32')) + double(intmin('int32'))) / 4);
cube = reshape(1:24, 2, 3, 4);
assert(stats(@pxGrayStats, cube), 3.5);
assert(stats(@vxGrayStats, cube), 12.5);
% A realistic use: a uint8 photograph-like image scaled to zero mean and
% unit deviation; its statistics match Octave's own, whatever the class.
img = uint8(mod((1:200)' * (1:150), 251));
[m, d] = pxGrayStats(img);
assert([m, d], [mean(double(img(:))), std(double(img(:)))], 1e-9);
[mv, dv] = vxGrayStats(single(img));
assert([mv, dv], [m, d]);
z = (double(img) - m) / d;
[m0, d0] = pxGrayStats(z);
assert([m0, d0], [0, 1], 1e-12);

% Finite differences down the columns agree with Octave's gradient.
r = (1:6)';
assert(fdSlope([r, r.^2]), [ones(6, 1), [3; 4; 6; 8; 10; 11]]);
surface = sin((1:40)' / 6) * cos((1:30) / 5);
[~, gy] = gradient(surface);
assert(fdSlope(surface), gy, 1e-14);
assert(size(fdSlope(ones(4, 2, 3))), [4 6]);
assert(size(fdSlope(zeros(3, 0))), [3 0]);

% 6x6 inversion: a stack against inv, the empty stack, a singular matrix
% printed before the error.
rand('seed', 3);
n = 50;
A = zeros(36, n);
for k = 1:n
  M = rand(6) + 4 * eye(6);
  A(:, k) = M(:);
end
B = matInvert6(A);
assert(size(B), [36 n]);
for k = 1:n
  assert(reshape(B(:, k), 6, 6) * reshape(A(:, k), 6, 6), eye(6), 1e-10);
  assert(reshape(B(:, k), 6, 6), inv(reshape(A(:, k), 6, 6)), 1e-12);
end
assert(size(matInvert6(zeros(36, 0))), [36 0]);
S = diag([1 2 3 4 5 0]);
printed = evalc('try; B = matInvert6([A(:, 1), S(:)]); catch err; disp(err.message); end');
lines = strsplit(printed, "\n");
assert(lines{1}, 'Pivot 6 6 0');
assert(lines{2}, sprintf('     %7.4f', [1 0 0 0 0 0]));
assert(lines{7}, sprintf('     %7.4f', zeros(1, 6)));
assert(lines{8}, 'matInvert6: Singular Matrix.');
disp('util_test passed');
