% The cell gradient and cubic spline plug-ins as Octave users call them.
1;
% Value, row and column derivative of the local natural cubic spline at one
% point, summed pixel by pixel with the factored weights.
function [v, gx, gy] = spline_at(img, x, y)
  w = @(t) [-(7/15)*t + (4/5)*t^2 - (1/3)*t^3, 1 - (1/5)*t - (9/5)*t^2 + t^3, ...
            (4/5)*t + (6/5)*t^2 - t^3, -(2/15)*t - (1/5)*t^2 + (1/3)*t^3];
  d = @(t) [-7/15 + (8/5)*t - t^2, -1/5 - (18/5)*t + 3*t^2, 4/5 + (12/5)*t - 3*t^2, ...
            -2/15 - (2/5)*t + t^2];
  m = floor(x); l = floor(y);
  P = img(m-1:m+2, l-1:l+2);
  v = w(x - m) * P * w(y - l)';
  gx = d(x - m) * P * w(y - l)';
  gy = w(x - m) * P * d(y - l)';
end

[cc, rr] = meshgrid(1:40, 1:30);
img = sin(rr / 5) .* cos(cc / 7) + rr / 10;

% Messages as Octave shows them: the plug-in's name comes first.
expect_error(@() pxCellSlope(1, 2), 'pxCellSlope: At least three inputs required.');
expect_error(@() pxCellSlopeMasked(1, 2, img), 'pxCellSlopeMasked: At least four inputs required.');
expect_error(@() pxCubicSample(1, 2), 'pxCubicSample: At least three inputs required.');
try
  pxCubicSample(3, 3, img);    % asks for no output
  error('a call without output was accepted');
catch err
  assert(err.message, 'pxCubicSample: Only one output required.');
end
try
  gx = pxCubicSlope(3, 3, img);
  error('a call with one output was accepted');
catch err
  assert(err.message, 'pxCubicSlope: Only two outputs required.');
end
try
  gx = pxCellSlope(3, 3, img);
  error('a call with one output was accepted');
catch err
  assert(err.message, 'pxCellSlope: Only two outputs required.');
end
expect_error(@() pxCubicSample(single(3), 3, img), ...
             'pxCubicSample: X must be a real double array (it is single).');
expect_error(@() pxCubicSample([3 3], 3, img), ...
             'pxCubicSample: Y must hold at least 2 elements (as many as X); it holds 1.');
try
  [gx, gy] = pxCellSlopeMasked(3, 3, img, {img > 0});
  error('a cell mask was accepted');
catch err
  assert(err.identifier, 'pxCellSlopeMasked:maskClass');
  assert(err.message, ['pxCellSlopeMasked: mask must be a real array of class double, single, int8, ' ...
                       'uint8, int16, uint16, int32, uint32, int64, uint64 or logical (it is cell).']);
end
try
  [gx, gy] = pxCellSlopeMasked(3, 3, img, true(29, 40));
  error('a short mask was accepted');
catch err
  assert(err.identifier, 'pxCellSlopeMasked:tooShort');
end

% At the pixels, the cell gradient is Octave's own finite-difference
% gradient (central inside, one-sided on the border), bit for bit.
[Gc, Gr] = gradient(img);
[gx, gy] = pxCellSlope(rr + 0.5, cc + 0.25, img);
assert(isequal(gx, Gr) && isequal(gy, Gc));

% Masks as Octave users build them, logical, double, int32 or uint32, agree; an
% all-inside mask gives the plain gradient; a pixel outside the mask gives 0.
inside = hypot(rr - 15, cc - 20) < 12;
[lx, ly] = pxCellSlopeMasked(rr, cc, img, inside);
[dx, dy] = pxCellSlopeMasked(rr, cc, img, double(inside));
[ix, iy] = pxCellSlopeMasked(rr, cc, img, int32(inside));
[ux, uy] = pxCellSlopeMasked(rr, cc, img, uint32(inside) * intmax('uint32'));
assert(isequal(lx, dx, ix, ux) && isequal(ly, dy, iy, uy));
assert(all(lx(~inside & rr > 1 & rr < 30) == 0) && all(ly(~inside & cc > 1 & cc < 40) == 0));
k = find(inside & ~circshift(inside, -1) & rr < 30, 1);   % next row outside: backward difference
assert(lx(k), img(k) - img(k - 1));
[ax, ay] = pxCellSlopeMasked(rr, cc, img, true(30, 40));
assert(isequal(ax, Gr) && isequal(ay, Gc));
[ox, oy] = pxCellSlopeMasked([0.5 3 31], [3 41 3], img, true(30, 40));
assert(isequal([ox oy], zeros(1, 6)));

% Cubic spline: pixels returned exactly, the factored form elsewhere, -13
% and 0 outside the ranges.
assert(isequal(pxCubicSample(rr(2:27, 2:37), cc(2:27, 2:37), img), img(2:27, 2:37)));
rand('state', 1);
xq = 2 + 25.99 * rand(60, 1); yq = 2 + 34.99 * rand(60, 1);
v = pxCubicSample(xq, yq, img);
[sx, sy] = pxCubicSlope(xq, yq, img);
for k = 1:numel(xq)
  [rv, rx, ry] = spline_at(img, xq(k), yq(k));
  assert(v(k), rv, 1e-12);
  if xq(k) < 27 && yq(k) < 37
    assert([sx(k) sy(k)], [rx ry], 1e-12);
  else
    assert([sx(k) sy(k)], [0 0]);
  end
end
assert(pxCubicSample([1.999 28 2 2], [3 3 1.999 38], img), -13 * ones(1, 4));
[sx, sy] = pxCubicSlope([1.999 27 3], [3 3 37], img);
assert([sx sy], zeros(1, 6));

% A realistic use: the spline gradient of a smooth image is close to its
% analytic gradient.
[yq, xq] = meshgrid(linspace(3, 36, 45), linspace(3, 26, 35));
[sx, sy] = pxCubicSlope(xq, yq, img);
assert(sx, cos(xq / 5) .* cos(yq / 7) / 5 + 0.1, 5e-3);
assert(sy, -sin(xq / 5) .* sin(yq / 7) / 7, 5e-3);

% Shapes: further dimensions fold into the columns; an empty X gives empty
% outputs.
X = 3 * ones(3, 4, 2);
assert(size(pxCubicSample(X, X, img)), [3 8]);
[gx, gy] = pxCellSlopeMasked(zeros(0, 3), [], img, inside);
assert(size(gx), [0 3]); assert(size(gy), [0 3]);
[gx, gy] = pxCubicSlope(zeros(0, 3), [], img);
assert(size(gx), [0 3]); assert(size(gy), [0 3]);
disp('pixel_cubic_test passed');
