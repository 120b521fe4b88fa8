function volume_demo()
% Finite-element digital volume correlation on a synthetic speckle volume:
% the 3-D counterpart of main_demo.
%
%   1. A smooth random speckle volume f of 128^3 voxels is stored as uint8,
%      as a scanner would store it, and so is a deformed copy g with
%      g(x + u(x)) = f(x) for a known smooth displacement u of up to about
%      3 voxels.  g is sampled with vxCubicSample from the same speckle at
%      twice the resolution, so that making it adds little interpolation
%      error of its own.
%   2. The region of interest is meshed with 8-node hexahedra of 8 voxels;
%      feQuadVoxels turns the voxels of each element into integration points
%      and feShapeValues3 gives their shape functions.
%   3. slopeBasis3 gives the gradient of the reference volume on the voxel
%      grid, and a Gauss-Newton correlation finds the nodal displacements,
%      sampling g at the displaced points with vxCubicSample at every
%      iteration.  A weak penalty on the second differences of the nodal
%      displacements steadies the nodes on the border of the region, which
%      only one to four elements see; it leaves every affine field untouched.
%
% Run it from this folder with the plug-ins on the path, for example
%   octave-cli --path ../build/octave --eval volume_demo
% or, in MATLAB, addpath of the plug-in folder and then volume_demo.
% Figures are written as PNG files into the folder output/ beside this file.

  outdir = output_folder();
  randn('seed', 20261209);
  total = tic;

  %% 1. Speckle volume and its deformed copy, both stored as uint8.
  n = 128;
  [s, fine] = speckle(n, 1.5, 40);                   % the scanned object, grey levels
  f = uint8(s);
  [R, C, S] = ndgrid(1:n, 1:n, 1:n);                  % voxel (i, j, k) sits at (i, j, k)
  [X, Y, Z] = deal(R, C, S);
  for k = 1:20                                        % solve X + u(X) = voxel for X
    [ux, uy, uz] = true_displacement(X, Y, Z);
    moved = max(abs([R(:) - ux(:) - X(:); C(:) - uy(:) - Y(:); S(:) - uz(:) - Z(:)]));
    [X, Y, Z] = deal(R - ux, C - uy, S - uz);
    if moved < 1e-6
      break;
    end
  end
  largest = max(sqrt(ux(:) .^ 2 + uy(:) .^ 2 + uz(:) .^ 2));
  clear ux uy uz
  [X, Y, Z] = deal(2 * X - 1, 2 * Y - 1, 2 * Z - 1);  % the same points on the fine grid
  gs = 128 * ones(n, n, n);                           % voxels whose origin lies outside stay grey
  inside = spline_range(X, 2 * n) & spline_range(Y, 2 * n) & spline_range(Z, 2 * n);
  gs(inside) = vxCubicSample(X(inside), Y(inside), Z(inside), fine);
  clear fine
  g = uint8(gs);
  fprintf('Speckle volume %d^3 voxels (%s), deformed with a known field (max |u| = %.2f voxel)\n', n, ...
          class(f), largest);
  clear s gs inside R C S X Y Z

  %% 2. Mesh of 8-node hexahedra and their voxel integration points.
  h = 8;
  ne = 12;                                            % elements per side
  origin = 16.5;                                      % nodes between voxel centres
  node_pos = origin + h * (0:ne);
  [nodeX, nodeY, nodeZ] = ndgrid(node_pos, node_pos, node_pos);
  nn = numel(nodeX);
  node = @(i, j, k) i + (ne + 1) * ((j - 1) + (ne + 1) * (k - 1));
  [bx, by, bz] = ndgrid(0:h - 1, 0:h - 1, 0:h - 1);  % the voxels of an element's box
  [bx, by, bz] = deal(bx(:), by(:), bz(:));
  ne3 = ne ^ 3;
  mesh.conn = zeros(ne3, 8);
  mesh.points = cell(ne3, 1);                         % integration points of each element
  mesh.shapes = cell(ne3, 1);                         % their shape-function values
  [xs, ys, zs] = deal(cell(ne3, 1));
  count = 0;
  e = 0;
  t_fe = tic;
  threads = getenv('GRIDMEX_THREADS');                % many small calls: one thread each is faster
  restore = onCleanup(@() setenv('GRIDMEX_THREADS', threads));
  setenv('GRIDMEX_THREADS', '1');
  for k = 1:ne
    for j = 1:ne
      for i = 1:ne
        e = e + 1;
        conn = [node(i, j, k), node(i + 1, j, k), node(i + 1, j + 1, k), node(i, j + 1, k), ...
                node(i, j, k + 1), node(i + 1, j, k + 1), node(i + 1, j + 1, k + 1), node(i, j + 1, k + 1)];
        [xn, yn, zn] = deal(nodeX(conn), nodeY(conn), nodeZ(conn));
        [px, py, pz] = deal(ceil(min(xn)) + bx, ceil(min(yn)) + by, ceil(min(zn)) + bz);
        [xg, yg, zg, wg] = feQuadVoxels(8, xn, yn, zn, px, py, pz);
        in = wg > 0;
        mesh.conn(e, :) = conn;
        mesh.points{e} = count + (1:nnz(in))';
        mesh.shapes{e} = feShapeValues3(8, xg(in), yg(in), zg(in));
        [xs{e}, ys{e}, zs{e}] = deal(px(in), py(in), pz(in));
        count = count + nnz(in);
      end
    end
  end
  clear restore
  x = cell2mat(xs);
  y = cell2mat(ys);
  z = cell2mat(zs);
  clear xs ys zs
  rows = cell2mat(cellfun(@(p) repmat(p, 8, 1), mesh.points, 'UniformOutput', false));
  cols = cell2mat(cellfun(@(p, c) kron(c(:), ones(numel(p), 1)), mesh.points, num2cell(mesh.conn, 2), ...
                          'UniformOutput', false));
  vals = cell2mat(cellfun(@(F) F(:), mesh.shapes, 'UniformOutput', false));
  mesh.N = sparse(rows, cols, vals, count, nn);       % displacement at the points = N * nodal values
  clear rows cols vals
  fprintf('Mesh: %d^3 hexahedra of %d voxels, %d nodes, %d integration points (%.2f s)\n', ...
          ne, h, nn, count, toc(t_fe));
  fprintf('Partition of unity at the integration points: max |sum N - 1| = %.1e\n', ...
          max(abs(full(sum(mesh.N, 2)) - 1)));

  %% 3. Gauss-Newton correlation.
  % The plug-ins read the uint8 volumes as they are: no double copy.
  t_dvc = tic;
  U = zeros(3 * nn, 1);
  mesh.smoothing = smoothing_matrix(ne + 1);
  [U, history] = correlate(f, g, x, y, z, mesh, U, 1e-4, 30);
  fprintf('\nGauss-Newton iterations\n');
  fprintf('%3s %14s %16s\n', 'it', 'rms residual', 'max |dU| [voxel]');
  fprintf('%3d %14.4f %16.2e\n', history');
  Un = reshape(U, nn, 3);
  [uxt, uyt, uzt] = true_displacement(nodeX(:), nodeY(:), nodeZ(:));
  node_error = sqrt(sum((Un - [uxt, uyt, uzt]) .^ 2, 2));
  rms_error = sqrt(mean(node_error .^ 2));
  fprintf('\nDisplacement error against the known field\n');
  fprintf('  at the nodes: rms %.4f voxel, max %.4f voxel\n', rms_error, max(node_error));
  fprintf('  correlation time %.2f s\n', toc(t_dvc));
  if rms_error < 0.02 && max(node_error) < 0.05
    fprintf('  goal met: rms below 0.02 voxel and every nodal error below 0.05 voxel\n');
  else
    fprintf('  goal missed: rms %.4f voxel (goal 0.02), max %.4f voxel (goal 0.05)\n', rms_error, ...
            max(node_error));
  end

  t_fig = tic;
  mid = n / 2;
  voxel_axes = @(a, b) {sprintf('%s [voxel]', a), sprintf('%s [voxel]', b)};
  % Mid slices of the reference volume with the mesh, and of the deformed one.
  h_fig = demo_figure(gray(256));
  views = {squeeze(f(:, :, mid)), 'x', 'y', sprintf('Reference, slice z = %d', mid); ...
           squeeze(f(:, mid, :)), 'x', 'z', sprintf('Reference, slice y = %d', mid); ...
           squeeze(f(mid, :, :)), 'y', 'z', sprintf('Reference, slice x = %d', mid); ...
           squeeze(g(:, :, mid)), 'x', 'y', sprintf('Deformed, slice z = %d', mid)};
  for v = 1:4
    panel(2, 2, v);
    show_map(1:n, 1:n, views{v, 1}, voxel_axes(views{v, 2}, views{v, 3}), views{v, 4}, 'grey level');
    caxis([0, 255]);
    if v < 4
      draw_mesh(node_pos, node_pos, [1, 0.8, 0]);
    end
  end
  save_figure(h_fig, fullfile(outdir, 'volume_slices.png'));
  % Measured displacement and its error on the mid slice of the region.
  on_slice = z == mid;
  roi = node_pos(1) + 0.5:node_pos(end) - 0.5;
  u_slice = mesh.N(on_slice, :) * Un;
  [uxs, uys, uzs] = true_displacement(x(on_slice), y(on_slice), z(on_slice));
  cell_of = sub2ind([numel(roi), numel(roi)], x(on_slice) - roi(1) + 1, y(on_slice) - roi(1) + 1);
  [magnitude, miss] = deal(zeros(numel(roi)));
  magnitude(cell_of) = sqrt(sum(u_slice .^ 2, 2));
  miss(cell_of) = sqrt(sum((u_slice - [uxs, uys, uzs]) .^ 2, 2));
  h_fig = demo_figure(jet(256));
  panel(1, 2, 1);
  show_map(roi, roi, magnitude, voxel_axes('x', 'y'), sprintf('Measured |u|, slice z = %d', mid), '|u| [voxel]');
  draw_mesh(node_pos, node_pos, [1, 1, 1]);
  panel(1, 2, 2);
  show_map(roi, roi, miss, voxel_axes('x', 'y'), sprintf('Error |u - u_{true}|, slice z = %d', mid), ...
           'error [voxel]');
  draw_mesh(node_pos, node_pos, [1, 1, 1]);
  save_figure(h_fig, fullfile(outdir, 'volume_error.png'));
  plot_convergence(fullfile(outdir, 'volume_convergence.png'), {history}, {'volumes'}, 'voxel');
  fprintf('\nFigures written to %s (%.1f s): volume_slices.png, volume_error.png, volume_convergence.png\n', ...
          outdir, toc(t_fig));
  fprintf('Total time %.2f s\n', toc(total));
end

function [s, fine] = speckle(n, sigma, contrast)
  % A periodic random speckle of n^3 voxels: white noise through a Gaussian
  % filter of sigma voxels, of mean 128 and standard deviation contrast.
  % fine is the same band-limited speckle on a grid of twice the resolution
  % (point 2i - 1 of fine is voxel i of s), by zero padding of the spectrum.
  % The transforms run in single precision, ample for grey levels.
  k = [0:n / 2, -n / 2 + 1:-1] * (2 * pi / n);
  gauss = single(exp(-k .^ 2 * sigma ^ 2 / 2));      % the filter is separable
  spectrum = fftn(single(randn(n, n, n))) .* (gauss(:) .* gauss .* reshape(gauss, 1, 1, n));
  s = double(real(ifftn(spectrum)));
  scale = contrast / std(s(:));
  s = 128 + scale * s;
  m = 2 * n;
  padded = complex(zeros(m, m, m, 'single'));
  low = {1:n / 2, n / 2 + 1:n};                       % non-negative, then negative frequencies
  high = {1:n / 2, m - n / 2 + 1:m};
  for a = 1:2
    for b = 1:2
      for c = 1:2
        padded(high{a}, high{b}, high{c}) = spectrum(low{a}, low{b}, low{c});
      end
    end
  end
  fine = 128 + (8 * scale) * double(real(ifftn(padded)));
end

function P = smoothing_matrix(m)
  % Sum of the squared second differences along the three axes of an
  % m x m x m node grid, for each of the three displacement components:
  % zero for every affine field.
  I = speye(m);
  D = spdiags(ones(m - 2, 1) * [1, -2, 1], 0:2, m - 2, m);
  Dx = kron(I, kron(I, D));
  Dy = kron(I, kron(D, I));
  Dz = kron(D, kron(I, I));
  P = kron(speye(3), Dx' * Dx + Dy' * Dy + Dz' * Dz);
end

function in = spline_range(c, n)
  % Coordinates whose cubic-spline neighbourhood lies inside 1..n.
  in = c >= 2 & c < n - 1;
end

function [ux, uy, uz] = true_displacement(x, y, z)
  % x runs along rows, y along columns, z along slices (the plug-ins' frame).
  c = 64.5;
  ux = 1.2 + 0.008 * (x - c) - 0.004 * (y - c) + 0.003 * (z - c) + 0.4 * sin(2 * pi * y / 150);
  uy = -0.9 + 0.003 * (x - c) + 0.007 * (y - c) - 0.002 * (z - c) + 0.4 * cos(2 * pi * z / 140);
  uz = 0.7 - 0.002 * (x - c) + 0.003 * (y - c) + 0.006 * (z - c) + 0.4 * sin(2 * pi * x / 160);
end

function [U, history] = correlate(f, g, x, y, z, mesh, U, tolerance, max_iterations)
  % Gauss-Newton with the gradient of the reference volume: minimises
  % sum (g(x + N Ux, y + N Uy, z + N Uz) - f(x, y, z))^2 over the nodal
  % values U = [Ux; Uy; Uz], plus the smoothing penalty.  The Hessian is
  % assembled element by element and factorised once.
  nn = size(mesh.N, 2);
  grad = slopeBasis3(f, ones(numel(f), 1));          % [df/dx, df/dy, df/dz] at every voxel
  index = sub2ind(size(f), x, y, z);
  grad = grad(index, :);
  fp = double(f(index));                              % grey levels for the residual, whatever the class
  ne = size(mesh.conn, 1);
  [hr, hc, hv] = deal(zeros(576, ne));
  for e = 1:ne
    F = mesh.shapes{e};
    p = mesh.points{e};
    W = [F .* grad(p, 1), F .* grad(p, 2), F .* grad(p, 3)];
    dofs = [mesh.conn(e, :), mesh.conn(e, :) + nn, mesh.conn(e, :) + 2 * nn]';
    hr(:, e) = repmat(dofs, 24, 1);
    hc(:, e) = kron(dofs, ones(24, 1));
    hv(:, e) = reshape(W' * W, [], 1);
  end
  H = sparse(hr(:), hc(:), hv(:), 3 * nn, 3 * nn);
  penalty = (0.3 * mean(diag(H))) * mesh.smoothing;   % weak next to the image term
  H = H + penalty;
  [Rh, fail, order] = chol(H, 'vector');
  if fail
    error('volume_demo:singular', 'the correlation matrix is singular: too little contrast in the volume');
  end
  history = zeros(0, 3);
  n = size(g);
  for it = 1:max_iterations
    u = mesh.N * reshape(U, nn, 3);
    xs = x + u(:, 1);
    ys = y + u(:, 2);
    zs = z + u(:, 3);
    if ~all(spline_range(xs, n(1)) & spline_range(ys, n(2)) & spline_range(zs, n(3)))
      error('volume_demo:range', 'a displaced point left the volume''s cubic-spline range');
    end
    r = vxCubicSample(xs, ys, zs, g) - fp;
    b = reshape(mesh.N' * (grad .* r), [], 1) + penalty * U;
    dU = zeros(3 * nn, 1);
    dU(order) = -(Rh \ (Rh' \ b(order)));
    U = U + dU;
    history(end + 1, :) = [it, sqrt(mean(r .^ 2)), max(abs(dU))]; %#ok<AGROW>
    if max(abs(dU)) < tolerance
      break;
    end
  end
end
