% gridInterp2 and gridInterp3 against Octave's interp2 and interp3: every
% class of V (as double(V)), linear and nearest, default and given
% extrapval, at random points, on every node and edge, outside and at NaN.
1;
function check(got, want, what)
  % The same values bit for bit (NaN for NaN, Octave's NA counting as NaN).
  same = got == want | (isnan(got) & isnan(want));
  if ! isequal(size(got), size(want)) || ! all(same(:))
    k = find(! same, 1);
    error('%s: %d of %d values differ, first at %d: %.17g, interp gives %.17g', what, sum(! same(:)), ...
          numel(same), k, got(k), want(k));
  end
end

function q = queries(n, extent)
  % Random points over the grid and one sample beyond, every node, halves
  % and the hairs around both edges.
  q = [rand(1, n) * (extent + 2) - 1, 1:extent, 0.5:1:extent + 0.5, ...
       1 - eps, extent * (1 + eps), extent - eps(extent)];
end

rand('seed', 7);
classes = {'double', 'single', 'int8', 'uint8', 'int16', 'uint16', 'int32', 'uint32', 'int64', 'uint64', 'logical'};
M = 7; N = 9; P = 4;
for c = 1:numel(classes)
  if strcmp(classes{c}, 'logical')
    V = rand(M, N) > 0.5;  W = rand(M, N, P) > 0.5;
  else
    V = cast(rand(M, N) * 200 - 100, classes{c});  W = cast(rand(M, N, P) * 200 - 100, classes{c});
  end
  x = queries(2000, N);  n = numel(x);
  y = [rand(1, n - M) * (M + 2) - 1, 1:M];  y = y(randperm(n));
  z = rand(1, n) * (P + 2) - 1;  z(1:P) = 1:P;
  for method = {'linear', 'nearest'}
    what = sprintf('%s %s', classes{c}, method{1});
    check(gridInterp2(V, x, y, method{1}), interp2(double(V), x, y, method{1}), ['interp2 ' what]);
    check(gridInterp2(V, x, y, method{1}, -3), interp2(double(V), x, y, method{1}, -3), ['interp2 extrap ' what]);
    check(gridInterp3(W, x, y, z, method{1}), interp3(double(W), x, y, z, method{1}), ['interp3 ' what]);
    check(gridInterp3(W, x, y, z, method{1}, 5), interp3(double(W), x, y, z, method{1}, 5), ['interp3 extrap ' what]);
  end
end

% The default method, matrices of points, and the grid of a row and a
% column vector.
V = rand(M, N);  [xq, yq] = meshgrid(linspace(0.5, N + 0.5, 23), linspace(1, M, 11));
check(gridInterp2(V, xq, yq), interp2(V, xq, yq), 'interp2 matrices');
check(gridInterp2(V, xq(1, :), yq(:, 1)), interp2(V, xq(1, :), yq(:, 1)), 'interp2 vectors');
check(gridInterp2(V, xq(1, :)', yq(:, 1)', 'nearest'), interp2(V, xq(1, :)', yq(:, 1)', 'nearest'), 'interp2 vectors');
W = rand(M, N, P);
check(gridInterp3(W, 1:0.7:N, (1:0.5:M)', [1 2.5 P]), interp3(W, 1:0.7:N, (1:0.5:M)', [1 2.5 P]), 'interp3 vectors');

% NaN queries give extrapval (Octave's interp2 gives NaN for linear and a
% sample for nearest there; its interp3 linear does not return).
assert(gridInterp2(V, [NaN 2], [2 NaN], 'linear', 4), [4 4]);
assert(gridInterp3(W, [NaN 2], [2 2], [2 NaN], 'nearest', 4), [4 4]);
assert(all(isnan(gridInterp2(V, [NaN 2], [2 NaN]))));

% Refusals as Octave shows them.
expect_error(@() gridInterp2(V, [1 2], [1 2 3]), ...
             'gridInterp2: Xq, Yq must be of one size, or vectors of different orientations (they are 1 x 2 and 1 x 3).');
expect_error(@() gridInterp2(1:N, 1:M, V, 2, 2), ...
             'gridInterp2: The method must be ''linear'' or ''nearest''; the grid is implicit (gridInterp2(V, Xq, Yq, method, extrapval)).');
expect_error(@() gridInterp3(V, 1, 1, 1), ...
             'gridInterp3: V must be a 3-D array with at least 2 samples along each axis (it is 7 x 9).');
expect_error(@() gridInterp2(V, 1), 'gridInterp2: At least three inputs required.');
