% The gradient-weighted basis plug-ins as Octave users call them.
1;
img = (0:3)'.^2 + 100 * (0:4).^2;     % f(r, c) = r^2 + 100 c^2, 0-based
vol = reshape(0:26, 3, 3, 3);          % f = r + 3 c + 9 k
all3 = int32([0; 1; 2]);

% Messages as Octave shows them: the plug-in's name first.
for name = {'slopeBasis2', 'slopeBasis3', 'slopeBasis3p'}
  f = str2func(name{1});
  expect_error(@() f(vol), [name{1} ': At least two inputs required.']);
  try
    f(vol, ones(27, 1), all3, all3, all3);    % asks for no output
    error('a call without output was accepted');
  catch err
    assert(err.message, [name{1} ': Only one output required.']);
  end
end
expect_error(@() slopeBasis3p(vol, ones(27, 1), all3), ...
             'slopeBasis3p: The row, column and slice index lists (inputs 3 to 5) are required.');
expect_error(@() slopeBasis2(img, ones(20, 1), 0.5), ...
             'slopeBasis2: The step must be at least 1 after truncation toward zero (it is 0.5).');
expect_error(@() slopeBasis2(img, ones(20, 1), []), 'slopeBasis2: The step must be a number (it is empty).');
expect_error(@() slopeBasis2(img, ones(19, 1)), ...
             'slopeBasis2: The basis must have a row for each of the 20 visited pixels (it has 19 rows).');
expect_error(@() slopeBasis2(1:5, ones(5, 1)), ...
             'slopeBasis2: The image must have at least 2 rows and 2 columns (it is 1 x 5).');
expect_error(@() slopeBasis3(img, ones(20, 1)), ...
             'slopeBasis3: The volume must be a three-dimensional array (it has 2 dimensions).');
expect_error(@() slopeBasis3p(vol, ones(27, 1), [0; 1; 2], all3, all3), ...
             'slopeBasis3p: The row list must be a real int32 array (it is double).');
expect_error(@() slopeBasis3p(vol, ones(27, 1), all3, all3, int32([0; 3])), ...
             'slopeBasis3p: The slice list holds 3 at position 2, outside 0 to 2.');
try
  v = slopeBasis3(complex(vol), ones(27, 1));
  error('a complex volume was accepted');
catch err
  assert(err.identifier, 'slopeBasis3:notRealNumeric');
end

% Steps: 2 and 2.9 visit rows and columns 0 and 2 (centred, 2 is not the
% last row) and column 4 (backward); an integer-class step is read as well.
expected = [1 100; 4 100; 1 400; 4 400; 1 700; 4 700];
assert(slopeBasis2(img, ones(6, 1), 2), expected);
assert(slopeBasis2(img, ones(6, 1), 2.9), expected);
assert(slopeBasis2(img, ones(6, 1), int32(2)), expected);

% Shapes: extra basis rows stay zero; no basis column gives an empty result.
r = slopeBasis3(vol, ones(30, 2));
assert(size(r), [30 6]);
assert(r(1:27, :), repmat([1 1 3 3 9 9], 27, 1));
assert(r(28:30, :), zeros(3, 6));
assert(size(slopeBasis2(img, zeros(25, 0))), [25 0]);
assert(size(slopeBasis3p(vol, zeros(4, 0), all3, all3, int32(zeros(0, 1)))), [4 0]);

% A realistic use: the bilinear shape functions of one element spread over a
% 30 x 40 image, weighted by the image gradient, match Octave's gradient
% (its first output runs along columns).
[cc, rr] = meshgrid(0:39, 0:29);
smooth = sin(rr / 5) .* cos(cc / 7) + 0.01 * rr .* cc;
u = rr(:) / 29;
v = cc(:) / 39;
N = [(1 - u) .* (1 - v), u .* (1 - v), u .* v, (1 - u) .* v];
[gc, gr] = gradient(smooth);
assert(slopeBasis2(smooth, N), [gr(:) .* N, gc(:) .* N], 1e-14);

% The same in 3-D, on every voxel and on a tensor grid of listed voxels.
[c3, r3, k3] = meshgrid(0:11, 0:9, 0:7);
field = cos(r3 / 3) + sin(c3 / 4) .* k3 + r3 .* k3 / 10;
[gc, gr, gk] = gradient(field);
B = rand(numel(field), 3);
assert(slopeBasis3(field, B), [gr(:) .* B, gc(:) .* B, gk(:) .* B], 1e-14);
rows = int32([9; 0; 4]);
cols = int32([3; 11]);
slices = int32([0; 7; 7; 2]);
[ri, ci, ki] = ndgrid(double(rows) + 1, double(cols) + 1, double(slices) + 1);
at = sub2ind(size(field), ri(:), ci(:), ki(:));
Bp = B(at, :);
assert(slopeBasis3p(field, Bp, rows, cols, slices), [gr(at) .* Bp, gc(at) .* Bp, gk(at) .* Bp], 1e-14);
assert(slopeBasis3p(field, B, int32(0:9)', int32(0:11)', int32(0:7)'), slopeBasis3(field, B));
disp('basis_test passed');
