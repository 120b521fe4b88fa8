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

  outdir = output_folder();
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

  % Figures: the reference image with the mesh, the measured displacement,
  % its error at the nodes and at the pixels, and the convergence.
  t_fig = tic;
  pixel_axes = {'row x [px]', 'column y [px]'};
  nodes = origin + h * (0:ne);
  h_fig = demo_figure(gray(256));
  show_map(1:M, 1:Nc, f, pixel_axes, sprintf('Reference speckle and the mesh of %d-pixel quadrangles', h), ...
           'grey level');
  draw_mesh(nodes, nodes, [1, 0.8, 0]);
  save_figure(h_fig, fullfile(outdir, 'speckle_mesh.png'));
  roi = ceil(nodes(1)):floor(nodes(end));
  on_map = sub2ind([numel(roi), numel(roi)], x - roi(1) + 1, y - roi(1) + 1);
  [map_ux, map_uy, map_error] = deal(zeros(numel(roi)));
  map_ux(on_map) = Nmat * U(1:nn);
  map_uy(on_map) = Nmat * U(nn + 1:end);
  map_error(on_map) = pixel_error;
  h_fig = demo_figure(jet(256));
  panel(1, 2, 1);
  show_map(roi, roi, map_ux, pixel_axes, 'Measured u_x (down the rows)', 'u_x [px]');
  draw_mesh(nodes, nodes, [1, 1, 1]);
  panel(1, 2, 2);
  show_map(roi, roi, map_uy, pixel_axes, 'Measured u_y (along the columns)', 'u_y [px]');
  draw_mesh(nodes, nodes, [1, 1, 1]);
  save_figure(h_fig, fullfile(outdir, 'displacement.png'));
  h_fig = demo_figure(jet(256));
  panel(1, 2, 1);
  show_map(nodes, nodes, reshape(node_error, ne + 1, ne + 1), pixel_axes, 'Error |U - u_{true}| at the nodes', ...
           'error [px]');
  panel(1, 2, 2);
  show_map(roi, roi, map_error, pixel_axes, 'Error |u - u_{true}| at the pixels', 'error [px]');
  draw_mesh(nodes, nodes, [1, 1, 1]);
  save_figure(h_fig, fullfile(outdir, 'error_map.png'));
  plot_convergence(fullfile(outdir, 'convergence.png'), {coarse, fine}, {'blurred images', 'images'}, 'px');
  fig_time = toc(t_fig);

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
  t_fig = tic;
  cell_axes = {'row x [cell]', 'column y [cell]'};
  h_fig = demo_figure(jet(256));
  fields = {phi0, 'Before: perturbed circle, |grad phi| = 3'; ...
            phi, 'After lvsRedistance to pseudo-time 40'};
  for k = 1:2
    panel(2, 2, k);
    show_map(1:n, 1:n, fields{k, 1}, cell_axes, fields{k, 2}, 'phi [cell]');
    hold on;
    contour(1:n, 1:n, fields{k, 1}, [0, 0], 'k', 'LineWidth', 2);
    plot([1, n], [n / 2, n / 2], 'w--', 'LineWidth', 1.5);
    hold off;
  end
  axes('Position', [0.08, 0.07, 0.84, 0.32]);
  slope0 = grad_norm(phi0);
  slope = grad_norm(phi);
  plot(1:n, slope0(n / 2, :), 'r-', 1:n, slope(n / 2, :), 'b-', 'LineWidth', 1.5);
  grid on;
  set(gca, 'GridLineStyle', ':');
  xlim([1, n]);
  ylim([0, 6]);
  xlabel(cell_axes{2});
  ylabel('|grad phi|');
  title(sprintf('|grad phi| along row x = %d (dashed line above)', n / 2));
  legend('before', 'after', 'Location', 'east');
  save_figure(h_fig, fullfile(outdir, 'level_set.png'));
  fig_time = fig_time + toc(t_fig);

  fprintf('\nFigures written to %s (%.1f s):\n', outdir, fig_time);
  fprintf('  speckle_mesh.png, displacement.png, error_map.png, convergence.png, level_set.png\n');
  fprintf('Total time %.2f s\n', toc(total));
end

function [ux, uy] = true_displacement(x, y)
  % x runs along rows, y along columns (the plug-ins' frame).
  ux = 1.2 + 0.008 * (x - 200) - 0.004 * (y - 200) + 0.5 * sin(2 * pi * y / 320);
  uy = -0.7 + 0.003 * (x - 200) + 0.006 * (y - 200) + 0.5 * cos(2 * pi * x / 300);
end

function slope = grad_norm(p)
  % |grad p| by central differences inside the field, one-sided on its edges.
  [gy, gx] = gradient(p);
  slope = hypot(gx, gy);
end

function e = slope_error(p, band)
  % Mean deviation of |grad p| from 1 over the band.
  slope = grad_norm(p);
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
