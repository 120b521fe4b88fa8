function main_demo()
% Finite-element digital image correlation on a synthetic speckle image, the
% job these plug-ins exist for, followed by a short level-set example.
%
%   1. A smooth random speckle image f is made, and a deformed image g with
%      g(x + u(x)) = f(x) for a known displacement u (affine plus a smooth
%      non-affine term), sampled with pxCubicSample.
%   2. The region of interest is meshed with 4-node quadrangles of 16 pixels;
%      feQuadPixels turns the pixels of each element into integration points
%      and feShapeValues2 gives their shape functions.
%   3. slopeBasis2 gives the image gradient on the pixel grid, and a
%      Gauss-Newton correlation finds the nodal displacements, sampling g at
%      the displaced points with pxCubicSample at every iteration.
%   4. lvsRedistance restores the distance property of a perturbed circle.
%
% Run it from this folder with the plug-ins on the path, for example
%   octave-cli --path ../build/octave --eval main_demo
% or, in MATLAB, addpath of the plug-in folder and then main_demo.
% Figures are written as PNG files into the folder output/ beside this file.

  here = fileparts(mfilename('fullpath'));
  outdir = fullfile(here, 'output');
  if ~exist(outdir, 'dir')
    mkdir(outdir);
  end
  randn('seed', 20261208);
  total = tic;

  %% 1. Speckle image and its deformed copy.
  M = 400;
  Nc = 400;
  f = gaussian_blur(randn(M, Nc), 1.5);
  f = 128 + 60 * f / std(f(:));
  [C, R] = meshgrid(1:Nc, 1:M);                         % R: row coordinate x, C: column y
  X = R;
  Y = C;
  for k = 1:30                                          % solve X + u(X) = pixel for X
    [ux, uy] = true_displacement(X, Y);
    X = R - ux;
    Y = C - uy;
  end
  g = pxCubicSample(X, Y, f);                           % g(X + u(X)) = f(X)
  g(g == -13) = 128;                                    % the few border pixels outside the spline's range
  fprintf('Speckle image %d x %d, deformed with a known field (max |u| = %.2f px)\n', M, Nc, ...
          max(hypot(R(:) - X(:), C(:) - Y(:))));

  %% 2. Mesh of 4-node quadrangles and their pixel integration points.
  h = 16;
  ne = 20;                                              % elements per side
  origin = 40.5;                                        % nodes between pixel centres
  [nodeY, nodeX] = meshgrid(origin + h * (0:ne), origin + h * (0:ne));
  nn = numel(nodeX);
  node = @(i, j) i + (ne + 1) * (j - 1);                % node (i, j), 1-based
  rows = {};
  cols = {};
  vals = {};
  xs = {};
  ys = {};
  count = 0;
  t_fe = tic;
  for j = 1:ne
    for i = 1:ne
      conn = [node(i, j), node(i + 1, j), node(i + 1, j + 1), node(i, j + 1)];
      xn = nodeX(conn);
      yn = nodeY(conn);
      [py, px] = meshgrid(ceil(min(yn)):floor(max(yn)), ceil(min(xn)):floor(max(xn)));
      [xg, yg, wg] = feQuadPixels(4, xn, yn, px(:), py(:));
      inside = wg > 0;
      FF = feShapeValues2(4, xg(inside), yg(inside));
      n_in = nnz(inside);
      rows{end + 1} = repmat(count + (1:n_in)', 1, 4); %#ok<AGROW>
      cols{end + 1} = repmat(conn, n_in, 1); %#ok<AGROW>
      vals{end + 1} = FF; %#ok<AGROW>
      xs{end + 1} = px(inside); %#ok<AGROW>
      ys{end + 1} = py(inside); %#ok<AGROW>
      count = count + n_in;
    end
  end
  cat_col = @(c) cell2mat(cellfun(@(a) a(:), c(:), 'UniformOutput', false));
  Nmat = sparse(cat_col(rows), cat_col(cols), cat_col(vals), count, nn);
  x = cat_col(xs);
  y = cat_col(ys);
  fprintf('Mesh: %d x %d quadrangles of %d pixels, %d nodes, %d integration points (%.2f s)\n', ...
          ne, ne, h, nn, count, toc(t_fe));
  fprintf('Partition of unity at the integration points: max |sum N - 1| = %.1e\n', ...
          max(abs(full(sum(Nmat, 2)) - 1)));

  %% 3. Gauss-Newton correlation, first on blurred images for a wide capture range.
  t_dic = tic;
  U = zeros(2 * nn, 1);
  [U, coarse] = correlate(gaussian_blur(f, 3), gaussian_blur(g, 3), x, y, Nmat, U, 1e-3, 50);
  [U, fine] = correlate(f, g, x, y, Nmat, U, 1e-6, 50);
  fprintf('\nGauss-Newton iterations (blurred images, then the images themselves)\n');
  fprintf('%7s %3s %14s %14s\n', 'pass', 'it', 'rms residual', 'max |dU| [px]');
  passes = {'blurred', coarse; 'sharp', fine};
  for k = 1:2
    for row = passes{k, 2}'
      fprintf('%7s %3d %14.4f %14.2e\n', passes{k, 1}, row(1), row(2), row(3));
    end
  end
  [uxt, uyt] = true_displacement(nodeX(:), nodeY(:));
  node_error = hypot(U(1:nn) - uxt, U(nn + 1:end) - uyt);
  [uxp, uyp] = true_displacement(x, y);
  pixel_error = hypot(Nmat * U(1:nn) - uxp, Nmat * U(nn + 1:end) - uyp);
  fprintf('\nDisplacement error against the known field\n');
  fprintf('  at the nodes:              rms %.4f px, max %.4f px\n', sqrt(mean(node_error .^ 2)), max(node_error));
  fprintf('  at the integration points: rms %.4f px, max %.4f px\n', sqrt(mean(pixel_error .^ 2)), ...
          max(pixel_error));
  fprintf('  correlation time %.2f s\n', toc(t_dic));
  if max(node_error) < 0.02
    fprintf('  goal met: every nodal error is below 0.02 px\n');
  else
    fprintf('  goal missed: a nodal error reaches %.4f px (goal 0.02 px)\n', max(node_error));
  end

  % Figures: the reference image with the mesh, the deformed image, and the
  % error map over the region of interest.
  shown = to_uint8(f, 20, 236);
  grid_lines = round(origin + h * (0:ne));
  span = grid_lines(1):grid_lines(end);
  shown(grid_lines, span) = 255;
  shown(span, grid_lines) = 255;
  imwrite(shown, fullfile(outdir, 'speckle_mesh.png'));
  imwrite(to_uint8(g, 20, 236), fullfile(outdir, 'deformed.png'));
  err_map = zeros(M, Nc);
  err_map(sub2ind([M, Nc], x, y)) = pixel_error;
  err_map = err_map(span, span);
  imwrite(ind2rgb(1 + double(to_uint8(err_map, 0, 0.02)), jet(256)), fullfile(outdir, 'error_map.png'));

  %% 4. Level set: redistancing a perturbed circle.
  n = 200;
  [LY, LX] = meshgrid(1:n, 1:n);
  theta = atan2(LY - 100.5, LX - 100.5);
  radius = hypot(LX - 100.5, LY - 100.5);
  phi0 = 3 * (radius - (60 + 6 * cos(5 * theta)));     % right zero level, wrong slope
  t_ls = tic;
  phi = lvsRedistance(phi0, 1, 40);
  ls_time = toc(t_ls);
  band = abs(phi0) > 6 & abs(phi0) < 90 & LX > 2 & LX < n - 1 & LY > 2 & LY < n - 1;
  fprintf('\nLevel set on a %d x %d grid: a perturbed circle with |grad phi| = 3\n', n, n);
  fprintf('  mean ||grad phi| - 1| off the interface: before %.3f, after lvsRedistance %.3f (%.3f s)\n', ...
          slope_error(phi0, band), slope_error(phi, band), ls_time);
  fprintf('  largest move of the zero level: %.3f cell\n', zero_level_shift(phi0, phi));
  ls_image = [to_uint8(phi0, -120, 120), to_uint8(phi, -40, 40)];
  ls_image([abs(phi0) < 1.5, abs(phi) < 0.5]) = 255;
  imwrite(ls_image, fullfile(outdir, 'level_set.png'));

  fprintf('\nFigures written to %s: speckle_mesh.png, deformed.png, error_map.png, level_set.png\n', outdir);
  fprintf('Total time %.2f s\n', toc(total));
end

function out = gaussian_blur(img, sigma)
  r = ceil(3 * sigma);
  k = exp(-((-r:r) .^ 2) / (2 * sigma ^ 2));
  k = k / sum(k);
  out = conv2(k, k, img, 'same');
end

function [ux, uy] = true_displacement(x, y)
  % x runs along rows, y along columns (the plug-ins' frame).
  ux = 1.2 + 0.008 * (x - 200) - 0.004 * (y - 200) + 0.5 * sin(2 * pi * y / 320);
  uy = -0.7 + 0.003 * (x - 200) + 0.006 * (y - 200) + 0.5 * cos(2 * pi * x / 300);
end

function e = slope_error(p, band)
  % Mean deviation of |grad p| from 1 (central differences) over the band.
  slope = hypot(conv2(p, [1; 0; -1] / 2, 'same'), conv2(p, [1, 0, -1] / 2, 'same'));
  e = mean(abs(slope(band) - 1));
end

function s = zero_level_shift(a, b)
  % Largest move of the zero level from field a to field b, in cells: the
  % crossing points interpolated linearly on every grid edge where both
  % fields change sign, along rows and along columns.
  s = 0;
  for d = 1:2
    if d == 2
      a = a.';
      b = b.';
    end
    a1 = a(1:end - 1, :); a2 = a(2:end, :);
    b1 = b(1:end - 1, :); b2 = b(2:end, :);
    both = a1 .* a2 < 0 & b1 .* b2 < 0;
    xa = a1(both) ./ (a1(both) - a2(both));
    xb = b1(both) ./ (b1(both) - b2(both));
    s = max([s; abs(xa - xb)]);
  end
end

function img = to_uint8(a, lo, hi)
  img = uint8(255 * min(max((a - lo) / (hi - lo), 0), 1));
end

function [U, history] = correlate(f, g, x, y, N, U, tolerance, max_iterations)
  % Gauss-Newton with the gradient of the reference image: minimises
  % sum (g(x + N Ux, y + N Uy) - f(x, y))^2 over the nodal values U.
  nn = size(N, 2);
  grad = slopeBasis2(f, ones(numel(f), 1));            % [df/dx, df/dy] at every pixel
  index = sub2ind(size(f), x, y);
  fx = grad(index, 1);
  fy = grad(index, 2);
  G = [spdiags(fx, 0, numel(x), numel(x)) * N, spdiags(fy, 0, numel(x), numel(x)) * N];
  H = G' * G;
  fp = f(index);
  history = zeros(0, 3);
  for it = 1:max_iterations
    gp = pxCubicSample(x + N * U(1:nn), y + N * U(nn + 1:end), g);
    r = gp - fp;
    dU = -(H \ (G' * r));
    U = U + dU;
    history(end + 1, :) = [it, sqrt(mean(r .^ 2)), max(abs(dU))]; %#ok<AGROW>
    if max(abs(dU)) < tolerance
      break;
    end
  end
end
