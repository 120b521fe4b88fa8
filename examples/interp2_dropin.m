function interp2_dropin()
% An interpolation-heavy loop written with interp2, run twice: as written,
% and with the one word interp2 changed to gridInterp2.  The loop tracks
% the subsets of a speckle image into a shifted copy (subset-based image
% correlation, translation only, Gauss-Newton): every iteration samples
% the deformed image at the displaced points of every subset, the way
% correlation codes call interp2.  It prints both times, the speed-up and
% the largest difference of the measured displacements.
%
% Run it from this folder with the plug-ins on the path, for example
%   octave-cli --path ../build/octave --eval interp2_dropin
% or, in MATLAB, addpath of the plug-in folder and then interp2_dropin.
% In Octave the two runs give the same bits (gridInterp2 follows the
% arithmetic of Octave's interp2); MATLAB's interp2 rounds its own way.

  randn('seed', 20261210);
  M = 256;
  f = gaussian_blur(randn(M), 2);
  f = 128 + 60 * f / std(f(:));
  % The deformed image: f moved by a smooth displacement field (u, v).
  [X, Y] = meshgrid(1:M);
  u = 1.2 + 0.8 * sin(2 * pi * Y / M);
  v = -0.9 + 0.5 * cos(2 * pi * X / M);
  g = interp2(f, X - u, Y - v, 'linear', 128);

  tic;
  [u1, v1] = track(f, g, @interp2);
  t1 = toc;
  tic;
  [u2, v2] = track(f, g, @gridInterp2);
  t2 = toc;

  fprintf('%d subsets, %d samples per subset and iteration\n', numel(u1), 31^2);
  fprintf('interp2:     %7.3f s\n', t1);
  fprintf('gridInterp2: %7.3f s (%.1fx)\n', t2, t1 / t2);
  fprintf('largest difference of the displacements:    %g pixels\n', max(abs([u1(:) - u2(:); v1(:) - v2(:)])));
  c = centres(M)';
  known = repmat(1.2 + 0.8 * sin(2 * pi * c / M), 1, numel(c));
  fprintf('largest error of u against the known field: %g pixels\n', max(abs(u1(:) - known(:))));
end

% Subset centres, 24 pixels apart and from the edges.
function c = centres(M)
  c = 24:24:M - 24;
end

% Gauss-Newton translation of each 31 x 31 subset around the centres, 8
% iterations from zero, sampling g with `interpolate` at every iteration.
function [U, V] = track(f, g, interpolate)
  c = centres(size(f, 1));
  [dx, dy] = meshgrid(-15:15);
  [fx, fy] = gradient(f);
  U = zeros(numel(c));
  V = zeros(numel(c));
  for i = 1:numel(c)
    for j = 1:numel(c)
      xs = c(j) + dx;
      ys = c(i) + dy;
      ref = f(ys(1, 1):ys(end, 1), xs(1, 1):xs(1, end));
      gx = fx(ys(1, 1):ys(end, 1), xs(1, 1):xs(1, end));
      gy = fy(ys(1, 1):ys(end, 1), xs(1, 1):xs(1, end));
      H = [gx(:), gy(:)]' * [gx(:), gy(:)];
      p = [0; 0];
      for it = 1:8
        def = interpolate(g, xs + p(1), ys + p(2), 'linear');
        p = p - H \ ([gx(:), gy(:)]' * (def(:) - ref(:)));
      end
      U(i, j) = p(1);
      V(i, j) = p(2);
    end
  end
end
