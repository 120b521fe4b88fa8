% The level-set plug-ins as Octave users call them.
1;
% Messages as Octave shows them, the plug-in's name first.
phi = repmat((0:7)' - 3.5, 1, 5);        % exact distance along rows
expect_error(@() lvsRedistance(phi, 1), 'lvsRedistance: Three inputs required.');
expect_error(@() lvsAdvance(phi, phi, 1), 'lvsAdvance: Four inputs required.');
try
  lvsExtendField(phi, phi, 1, 0.1);      % asks for no output
  error('a call without output was accepted');
catch err
  assert(err.message, 'lvsExtendField: One output required.');
end
expect_error(@() lvsRedistance(phi, 0, 1), ...
             'lvsRedistance: h must be a positive grid spacing (it is 0).');
expect_error(@() lvsRedistance(phi, 1, Inf), ...
             'lvsRedistance: T = inf would take 2^53 or more steps of h/2 = 0.5; the iteration could never finish.');
expect_error(@() lvsRedistance0(1:5, 1, 0.1), ...
             'lvsRedistance0: phi0 must have at least 2 rows and 2 columns (it is 1 x 5).');
expect_error(@() lvsOrthogonalise(phi, phi(1:39), 1, 0.1), ...
             'lvsOrthogonalise: phi must hold at least 40 elements (one per cell of psi0); it holds 39.');
try
  v = lvsAdvance(single(phi), phi, 1, 0.1);
  error('a single field was accepted');
catch err
  assert(err.identifier, 'lvsAdvance:notRealDouble');
end

% Documented values: an exact distance is kept, moved by dt under F = +-1;
% a constant field moves by h/2 per redistancing step (five steps for T = 2).
assert(lvsRedistance(phi, 1, 2), phi);
assert(lvsRedistance0(phi, 1, 0.3), phi);
assert(lvsAdvance(phi, ones(8, 5), 1, 0.3), phi - 0.3);
assert(lvsAdvance(phi, -ones(1, 40), 1, 0.3), phi + 0.3);
assert(lvsRedistance(ones(3, 4), 1, 2), 3.5 * ones(3, 4));
assert(lvsRedistance(-ones(3, 4), 1, -1), -ones(3, 4));
r = repmat((0:7)', 1, 5);
assert(lvsOrthogonalise(r, phi, 1, 0.3), r + 0.3 * (1 - 2 * (r >= 4)), 1e-15);
assert(lvsExtendField(r, phi, 1, 0.3), r + 0.3 * (1 - 2 * (r >= 4)), 1e-15);
assert(all(isnan(lvsExtendField(r, ones(8, 5), 1, 0.3)(:))));
assert(size(lvsRedistance0(rand(4, 3, 2), 1, 0.1)), [4 3]);

% A realistic use: a circle's level set, steepened, redistanced, grown with
% unit speed, then a field orthogonalised and another extended off it.
n = 64;
[Q, R] = meshgrid(0:n-1, 0:n-1);
d = hypot(R - 31.3, Q - 32.6) - 15;
phi = lvsRedistance(3 * d, 1, 15);
[gy, gx] = gradient(phi);
band = abs(d) > 2 & abs(d) < 10;
assert(abs(hypot(gx(band), gy(band)) - 1) < 0.05);
assert(abs(phi(abs(d) < 1.5) - d(abs(d) < 1.5)) < 0.5);
for k = 1:20
  phi = lvsAdvance(phi, ones(n), 1, 0.25);
end
assert(sqrt(nnz(phi < 0) / pi), 20, 0.3);
d = hypot(R - 31.3, Q - 32.6) - 20;
psi = R;
for k = 1:40
  psi = lvsOrthogonalise(psi, d, 1, 0.5);
end
[py, px] = gradient(psi);
[ny, nx] = gradient(d);
band = abs(d) > 1 & abs(d) < 6;
c = abs(px .* nx + py .* ny) ./ hypot(px, py) ./ hypot(nx, ny);
assert(mean(c(band)) < 0.02);
u = R + 0.5 * Q;
for k = 1:60
  u = lvsExtendField(u, d, 1, 0.1);
end
band = abs(d) > 1 & abs(d) < 4;
[uy, ux] = gradient(u);
c = abs(ux .* nx + uy .* ny) ./ hypot(ux, uy) ./ hypot(nx, ny);
c0 = abs(nx + 0.5 * ny) ./ hypot(1, 0.5) ./ hypot(nx, ny);
assert(mean(c(band)) < 0.5 * mean(c0(band)));
disp('levelset_test passed');
