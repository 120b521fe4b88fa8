% The volume sampling plug-ins as Octave users call them.
1;
function [w, d] = spline_weights(t)
  % The nested forms of the natural cubic spline weights and their slopes.
  a = 0.2 * t;
  w = [a * ((4 - 5 * t / 3) * t - 7 / 3), a * ((5 * t - 9) * t - 1) + 1, ...
       a * ((6 - 5 * t) * t + 4), a * ((5 * t / 3 - 1) * t - 2 / 3)];
  d = [0.2 * ((4 - 5 * t / 3) * t - 7 / 3) + a * (4 - 10 * t / 3), ...
       0.2 * ((5 * t - 9) * t - 1) + a * (10 * t - 9), ...
       0.2 * ((6 - 5 * t) * t + 4) + a * (6 - 10 * t), ...
       0.2 * ((5 * t / 3 - 1) * t - 2 / 3) + a * (10 * t / 3 - 1)];
end

function v = nested_sum(V, i, j, k, f, g, h)
  % Slices innermost, then columns, then rows, each sum from 0.
  v = 0;
  for a = 1:4
    columns = 0;
    for b = 1:4
      slices = 0;
      for c = 1:4
        slices = slices + h(c) * V(i - 2 + a, j - 2 + b, k - 2 + c);
      end
      columns = columns + g(b) * slices;
    end
    v = v + f(a) * columns;
  end
end

function v = trilinear_terms(V, x, y, z)
  % Each term ((0.125 V) fx) fy fz, the corners in storage order.
  i = floor(x); j = floor(y); k = floor(z);
  xi = 2 * ((x - i) - 0.5); eta = 2 * ((y - j) - 0.5); zeta = 2 * ((z - k) - 0.5);
  fx = [1 - xi, 1 + xi]; fy = [1 - eta, 1 + eta]; fz = [1 - zeta, 1 + zeta];
  v = 0.125 * V(i, j, k) * fx(1) * fy(1) * fz(1) + 0.125 * V(i + 1, j, k) * fx(2) * fy(1) * fz(1) + ...
      0.125 * V(i, j + 1, k) * fx(1) * fy(2) * fz(1) + 0.125 * V(i + 1, j + 1, k) * fx(2) * fy(2) * fz(1) + ...
      0.125 * V(i, j, k + 1) * fx(1) * fy(1) * fz(2) + 0.125 * V(i + 1, j, k + 1) * fx(2) * fy(1) * fz(2) + ...
      0.125 * V(i, j + 1, k + 1) * fx(1) * fy(2) * fz(2) + 0.125 * V(i + 1, j + 1, k + 1) * fx(2) * fy(2) * fz(2);
end

rand('seed', 4);
V = rand(7, 8, 9) * 200 - 100;

% Messages as Octave shows them: the plug-in's name comes first.
expect_error(@() vxTrilinSample(3, 3, 3), 'vxTrilinSample: At least four inputs required.');
expect_error(@() vxCubicSlope(), 'vxCubicSlope: At least four inputs required.');
try
  vxCubicSample(3, 3, 3, V);    % asks for no output
  error('a call without output was accepted');
catch err
  assert(err.message, 'vxCubicSample: Only one output required.');
end
try
  [a, b] = vxCellSlope(3, 3, 3, V);
  error('a call with two outputs was accepted');
catch err
  assert(err.message, 'vxCellSlope: Three outputs required.');
end
expect_error(@() vxTrilinSample([3 3], [3 3], 3, V), ...
             'vxTrilinSample: z must hold at least 2 elements (as many as x); it holds 1.');
try
  [a, b, c] = vxCubicSlope(3, 3, 3, sparse(V(:, :, 1)));
  error('a sparse volume was accepted');
catch err
  assert(err.identifier, 'vxCubicSlope:notRealNumeric');
  assert(err.message, ['vxCubicSlope: volume must be a real array of class double, single, int8, uint8, ' ...
                       'int16, uint16, int32, uint32, int64, uint64 or logical (it is sparse double).']);
end

% Trilinear: the voxel at integer points, the mean of the corners halfway,
% the documented order of the terms to the last bit, 0 outside [2, M).
assert(vxTrilinSample(3, 4, 5, V), V(3, 4, 5));
assert(vxTrilinSample(3.5, 4.5, 5.5, V), sum(sum(sum(V(3:4, 4:5, 5:6)))) / 8);
x = [2.3, 5.9, 4.1]; y = [7.7, 2.2, 3.6]; z = [2.05, 8.5, 6.99];
s = vxTrilinSample(x, y, z, V);
for p = 1:3
  assert(s(p) == trilinear_terms(V, x(p), y(p), z(p)));
end
assert(vxTrilinSample([1.5, 7, NaN, 3], [3, 3, 3, Inf], [3, 3, 3, 3], V), [0 0 0 0]);

% Cell gradient of V = i^2 along rows: forward 3, central 2i, backward 2M - 1.
sq = repmat((1:6)'.^2, [1, 4, 4]);
[gi, gj, gk] = vxCellSlope([1, 3, 6.99, 7, 0.5], 2 * ones(1, 5), 2 * ones(1, 5), sq);
assert(gi, [3, 6, 11, 0, 0]);
assert([gj, gk], zeros(1, 10));

% Cubic spline: the documented sums to the last bit, zero where the 4 x 4 x 4
% neighbourhood leaves the volume.
x = [2, 2.25, 5.999, 3.5]; y = [2, 6.5, 4.75, 2.125]; z = [2, 7.5, 3.25, 5.875];
value = vxCubicSample(x, y, z, V);
[gi, gj, gk] = vxCubicSlope(x, y, z, V);
for p = 1:4
  i = floor(x(p)); j = floor(y(p)); k = floor(z(p));
  [wx, dx] = spline_weights(x(p) - i);
  [wy, dy] = spline_weights(y(p) - j);
  [wz, dz] = spline_weights(z(p) - k);
  assert(value(p) == nested_sum(V, i, j, k, wx, wy, wz));
  assert(gi(p) == nested_sum(V, i, j, k, dx, wy, wz));
  assert(gj(p) == nested_sum(V, i, j, k, wx, dy, wz));
  assert(gk(p) == nested_sum(V, i, j, k, wx, wy, dz));
end
assert(value(1), V(2, 2, 2));
[gi, gj, gk] = vxCubicSlope([1.999, 6, NaN], [3, 3, 3], [3, 3, 3], V);
assert([gi, gj, gk], zeros(1, 9));
assert(vxCubicSample([1.999, 6, NaN], [3, 3, 3], [3, 3, 3], V), [0 0 0]);

% Shapes: the outputs take the shape of x, further dimensions folded.
X = 3 * ones(2, 3, 2);
assert(size(vxTrilinSample(X, 3 * ones(12, 1), 3 * ones(1, 12), V)), [2 6]);
[gi, gj, gk] = vxCellSlope(zeros(0, 4), [], [], V);
assert([size(gi); size(gj); size(gk)], [0 4; 0 4; 0 4]);

% A realistic use: a smooth volume sampled at scattered points.  Trilinear
% matches interp3 (whose first coordinate runs along columns); the cubic
% spline and its gradient follow the smooth function closely.
[jj, ii, kk] = meshgrid(1:40, 1:30, 1:20);
f = @(i, j, k) sin(i / 6) .* cos(j / 8) + 0.1 * k;
smooth = f(ii, jj, kk);
rand('seed', 9);
n = 2000;
x = 3 + rand(n, 1) * 25; y = 3 + rand(n, 1) * 35; z = 3 + rand(n, 1) * 15;
linear = vxTrilinSample(x, y, z, smooth);
assert(linear, interp3(smooth, y, x, z, 'linear'), 1e-12);
cubic = vxCubicSample(x, y, z, smooth);
assert(cubic, f(x, y, z), 2e-3);
assert(max(abs(cubic - f(x, y, z))) < max(abs(linear - f(x, y, z))) / 3);
[gi, gj, gk] = vxCubicSlope(x, y, z, smooth);
assert(gi, cos(x / 6) .* cos(y / 8) / 6, 5e-3);
assert(gj, -sin(x / 6) .* sin(y / 8) / 8, 5e-3);
assert(gk, 0.1 * ones(n, 1), 1e-12);
[ci, cj, ck] = vxCellSlope(x, y, z, smooth);
assert(ck, 0.1 * ones(n, 1), 1e-12);
assert(ci, cos(floor(x) / 6) .* cos(floor(y) / 8) / 6, 2e-3);
disp('voxel_test passed');
