% The peers an Octave user would use instead of the plug-ins, timed on the
% same kind of work (often on fewer items: the table compares rates per
% item).  Prints one line per peer: key, items, best seconds, label,
% separated by tabs.  Run by bench/run with octave-cli.
1;

% Best of two runs of f (one when the first takes more than two seconds).
function s = best_seconds (f)
  tic; f (); s = toc;
  if s < 2
    tic; f (); s = min (s, toc);
  end
end

function report (key, items, f, label)
  printf ("%s\t%d\t%.6g\t%s\n", key, items, best_seconds (f), label);
  fflush (stdout);
end

function I = smooth_image (M, N)
  [r, c] = ndgrid (0:M-1, 0:N-1);
  I = 128 + 60 * sin (0.05 * r + 0.3 * sin (0.01 * c)) .* cos (0.07 * c);
end

function V = smooth_volume (M, N, P)
  [r, c, k] = ndgrid (0:M-1, 0:N-1, 0:P-1);
  V = 128 + 60 * sin (0.05 * r) .* cos (0.07 * c) .* cos (0.04 * k);
end

function d = displacement (a, b)
  d = 0.6 * sin (0.013 * a + 0.007 * b) + 0.25 * cos (0.021 * b);
end

%% Pixel and voxel sampling, coherent and random points.

function [X, Y] = coherent2 (m, n)
  [x0, y0] = ndgrid (20 + (0:m-1), 20 + 0.4 * (0:n-1));
  X = x0 + displacement (x0, y0);
  Y = y0 + displacement (y0, x0);
end

function sampling2 (X, Y, I, tag)
  n = numel (X);
  report (["interp2_linear " tag], n, @() interp2 (I, Y, X, "linear"), "interp2 linear");
  report (["interp2_cubic " tag], n, @() interp2 (I, Y, X, "cubic"), "interp2 cubic");
  % Octave's spline takes grid points only: the undeformed grid of the
  % same size stands in for the coherent points, random points have none.
  if strcmp (tag, "coherent")
    report (["interp2_spline " tag], n, @() interp2 (I, Y(1, :), X(:, 1), "spline"), "interp2 spline, grid points");
  end
  report (["gradient_cells " tag], n, @() cells2 (I, X, Y), "gradient, then cell lookup");
  report (["cubic_slope " tag], n, @() cubic_slope2 (I, X, Y), "gradient, then 2 interp2 cubic");
end

function [gx, gy] = cells2 (I, X, Y)
  [gc, gr] = gradient (I);
  idx = floor (X) + rows (I) * (floor (Y) - 1);
  gx = gr(idx); gy = gc(idx);
end

function [gx, gy] = cubic_slope2 (I, X, Y)
  [gc, gr] = gradient (I);
  gx = interp2 (gr, Y, X, "cubic"); gy = interp2 (gc, Y, X, "cubic");
end

function [X, Y, Z] = coherent3 (m, n, p)
  [x0, y0, z0] = ndgrid (3 + (0:m-1), 3 + 1.2 * (0:n-1), 3 + 1.2 * (0:p-1));
  X = x0 + displacement (x0, z0);
  Y = y0 + displacement (y0, x0);
  Z = z0 + displacement (z0, y0);
end

function sampling3 (X, Y, Z, V, tag)
  n = numel (X);
  report (["interp3_linear " tag], n, @() interp3 (V, Y, X, Z, "linear"), "interp3 linear");
  % Octave 7 has no cubic interp3 and a spline on grid points only: the
  % undeformed grid of the same size stands in for the coherent points.
  if strcmp (tag, "coherent")
    report (["interp3_spline " tag], n, @() interp3 (V, Y(1, :, 1), X(:, 1, 1)', squeeze (Z(1, 1, :))', "spline"),
            "interp3 spline, grid points");
  end
  report (["gradient3_cells " tag], n, @() cells3 (V, X, Y, Z), "gradient, then cell lookup");
end

function [gi, gj, gk] = cells3 (V, X, Y, Z)
  [M, N, ~] = size (V);
  [gc, gr, gs] = gradient (V);
  idx = floor (X) + M * (floor (Y) - 1) + M * N * (floor (Z) - 1);
  gi = gr(idx); gj = gc(idx); gk = gs(idx);
end

%% Finite elements: the Newton inversion of the plug-ins, vectorised over
%% all candidate points of many elements at once.

function p = grid_node (i, j, k, size, jitter)
  p = 0.5 + size * [i, j, k] + jitter * sin (12.9898 * i + 78.233 * j + 37.719 * k + 1.7 * (0:2));
end

% Nodes (one row per element and node, in columns x, y, z) and the
% bounding-box pixel or voxel centres of each element, repeated per point.
function [XN, YN, ZN, xp, yp, zp] = candidates (nodes, dims)
  XN = YN = ZN = xp = yp = zp = {};
  for e = 1:numel (nodes)
    q = nodes{e};
    lo = ceil (min (q, [], 1)); hi = floor (max (q, [], 1));
    if dims == 2
      [r, c] = ndgrid (lo(1):hi(1), lo(2):hi(2)); s = zeros (size (r));
    else
      [r, c, s] = ndgrid (lo(1):hi(1), lo(2):hi(2), lo(3):hi(3));
    end
    n = numel (r);
    XN{end+1} = repmat (q(:, 1)', n, 1); YN{end+1} = repmat (q(:, 2)', n, 1); ZN{end+1} = repmat (q(:, 3)', n, 1);
    xp{end+1} = r(:); yp{end+1} = c(:); zp{end+1} = s(:);
  end
  XN = vertcat (XN{:}); YN = vertcat (YN{:}); ZN = vertcat (ZN{:});
  xp = vertcat (xp{:}); yp = vertcat (yp{:}); zp = vertcat (zp{:});
end

function [N, Nx, Ne] = shape2 (elt, xi, eta)
  if elt == 3
    o = ones (size (xi)); z = zeros (size (xi));
    N = [1 - xi - eta, xi, eta]; Nx = [-o, o, z]; Ne = [-o, z, o];
  else
    N = 0.25 * [(1-xi).*(1-eta), (1+xi).*(1-eta), (1+xi).*(1+eta), (1-xi).*(1+eta)];
    Nx = 0.25 * [-(1-eta), 1-eta, 1+eta, -(1+eta)];
    Ne = 0.25 * [-(1-xi), -(1+xi), 1+xi, 1-xi];
  end
end

function FF = newton2 (elt, XN, YN, xp, yp)
  xi = eta = zeros (size (xp));
  for k = 1:1000
    [N, Nx, Ne] = shape2 (elt, xi, eta);
    xx = sum (Nx .* XN, 2); xe = sum (Ne .* XN, 2); yx = sum (Nx .* YN, 2); ye = sum (Ne .* YN, 2);
    d = xx .* ye - yx .* xe;
    rx = xp - sum (N .* XN, 2); ry = yp - sum (N .* YN, 2);
    dxi = (ye .* rx - xe .* ry) ./ d; deta = (xx .* ry - yx .* rx) ./ d;
    xi += dxi; eta += deta;
    if max (dxi.^2 + deta.^2) <= 1e-12, break; end
  end
  if elt == 3
    in = xi > 0 & eta > 0 & 1 - xi - eta > 0;
  else
    in = abs (xi) < 1 & abs (eta) < 1;
  end
  xi(!in) = 0; eta(!in) = 0;
  FF = [shape2(elt, xi, eta), zeros(numel (xi), 4 - elt)];
end

function [N, Nx, Ne, Nz] = shape3 (elt, xi, eta, zeta)
  if elt == 4
    o = ones (size (xi)); z = zeros (size (xi));
    N = [1 - xi - eta - zeta, xi, eta, zeta];
    Nx = [-o, o, z, z]; Ne = [-o, z, o, z]; Nz = [-o, z, z, o];
  else
    sx = [-1 1 1 -1 -1 1 1 -1]; se = [-1 -1 1 1 -1 -1 1 1]; sz = [-1 -1 -1 -1 1 1 1 1];
    a = 1 + xi .* sx; b = 1 + eta .* se; c = 1 + zeta .* sz;
    N = 0.125 * a .* b .* c;
    Nx = 0.125 * sx .* b .* c; Ne = 0.125 * se .* a .* c; Nz = 0.125 * sz .* a .* b;
  end
end

function FF = newton3 (elt, XN, YN, ZN, xp, yp, zp)
  xi = eta = zeta = zeros (size (xp));
  for k = 1:100000
    [N, Nx, Ne, Nz] = shape3 (elt, xi, eta, zeta);
    a = sum (Nx .* XN, 2); b = sum (Ne .* XN, 2); c = sum (Nz .* XN, 2);
    d = sum (Nx .* YN, 2); e = sum (Ne .* YN, 2); f = sum (Nz .* YN, 2);
    g = sum (Nx .* ZN, 2); h = sum (Ne .* ZN, 2); i = sum (Nz .* ZN, 2);
    det = a .* (e.*i - f.*h) - b .* (d.*i - f.*g) + c .* (d.*h - e.*g);
    rx = xp - sum (N .* XN, 2); ry = yp - sum (N .* YN, 2); rz = zp - sum (N .* ZN, 2);
    dxi = ((e.*i - f.*h) .* rx - (b.*i - c.*h) .* ry + (b.*f - c.*e) .* rz) ./ det;
    deta = (-(d.*i - f.*g) .* rx + (a.*i - c.*g) .* ry - (a.*f - c.*d) .* rz) ./ det;
    dzeta = ((d.*h - e.*g) .* rx - (a.*h - b.*g) .* ry + (a.*e - b.*d) .* rz) ./ det;
    xi += dxi; eta += deta; zeta += dzeta;
    if max (dxi.^2 + deta.^2 + dzeta.^2) <= 1e-12, break; end
  end
  if elt == 4
    in = xi > 0 & eta > 0 & zeta > 0 & 1 - xi - eta - zeta > 0;
  else
    in = abs (xi) < 1 & abs (eta) < 1 & abs (zeta) < 1;
  end
  xi(!in) = 0; eta(!in) = 0; zeta(!in) = 0;
  FF = [shape3(elt, xi, eta, zeta), zeros(numel (xi), 8 - elt)];
end

function elements (squares, cubes)
  quads = tris = {};
  for j = 0:squares-1
    for i = 0:squares-1
      q = [grid_node(i, j, 0, 16, 1.5); grid_node(i+1, j, 0, 16, 1.5); grid_node(i+1, j+1, 0, 16, 1.5); grid_node(i, j+1, 0, 16, 1.5)];
      quads{end+1} = q; tris{end+1} = q([1 2 3], :); tris{end+1} = q([1 3 4], :);
    end
  end
  [XN, YN, ~, xp, yp] = candidates (quads, 2);
  report ("newton_quad", numel (xp), @() newton2 (4, XN, YN, xp, yp), "vectorised Newton + shape values");
  [XN, YN, ~, xp, yp] = candidates (tris, 2);
  report ("newton_tri", numel (xp), @() newton2 (3, XN, YN, xp, yp), "vectorised Newton + shape values");

  corner = [0 0 0; 1 0 0; 1 1 0; 0 1 0; 0 0 1; 1 0 1; 1 1 1; 0 1 1];
  perms3 = [1 2 3; 1 3 2; 2 1 3; 2 3 1; 3 1 2; 3 2 1];
  hexes = tets = {};
  for k = 0:cubes-1
    for j = 0:cubes-1
      for i = 0:cubes-1
        h = zeros (8, 3);
        for n = 1:8
          h(n, :) = grid_node (i + corner(n, 1), j + corner(n, 2), k + corner(n, 3), 8, 0.7);
        end
        hexes{end+1} = h;
        for p = 1:6
          at = [i j k]; t = grid_node (i, j, k, 8, 0.7);
          for s = 1:3
            at(perms3(p, s)) += 1;
            t(end+1, :) = grid_node (at(1), at(2), at(3), 8, 0.7);
          end
          if det ((t(2:4, :) - t(1, :))') < 0
            t([3 4], :) = t([4 3], :);
          end
          tets{end+1} = t;
        end
      end
    end
  end
  [XN, YN, ZN, xp, yp, zp] = candidates (hexes, 3);
  report ("newton_hex", numel (xp), @() newton3 (8, XN, YN, ZN, xp, yp, zp), "vectorised Newton + shape values");
  [XN, YN, ZN, xp, yp, zp] = candidates (tets, 3);
  report ("newton_tet", numel (xp), @() newton3 (4, XN, YN, ZN, xp, yp, zp), "vectorised Newton + shape values");
end

%% Level sets: the same upwind steps, vectorised.

% One-sided at the first and last row and column, as the plug-ins.
function [axm, axp, aym, ayp] = upwind (p, ih)
  dx = diff (p, 1, 1) * ih; dy = diff (p, 1, 2) * ih;
  axp = [dx; dx(end, :)]; axm = [dx(1, :); dx];
  ayp = [dy, dy(:, end)]; aym = [dy(:, 1), dy];
end

function G = magnitude (negative, axm, axp, aym, ayp)
  pos = @(d) max (d, 0); neg = @(d) min (d, 0);
  Gn = sqrt (max (neg (axm).^2, pos (axp).^2) + max (neg (aym).^2, pos (ayp).^2));
  Gp = sqrt (max (pos (axm).^2, neg (axp).^2) + max (pos (aym).^2, neg (ayp).^2));
  G = Gp;
  G(negative) = Gn(negative);
end

function out = redistance_step (p, h, dt)
  [axm, axp, aym, ayp] = upwind (p, 1 / h);
  negative = p < 0;
  G = magnitude (negative, axm, axp, aym, ayp);
  out = p - dt * (G - 1) .* (1 - 2 * negative);
end

function out = advance_step (p, F, h, dt)
  [axm, axp, aym, ayp] = upwind (p, 1 / h);
  out = p - (magnitude (F < 0, axm, axp, aym, ayp) .* F) * dt;
end

function out = orthogonalise_step (psi, phi, h, dt)
  [axm, axp, aym, ayp] = upwind (psi, 1 / h);
  [gy, gx] = gradient (phi, h);
  w = 1 ./ sqrt (gx.^2 + gy.^2);
  S = 1 - 2 * (phi < 0);
  nx = gx .* w .* S; ny = gy .* w .* S;
  out = psi - dt * (max (nx, 0) .* axm + min (nx, 0) .* axp + max (ny, 0) .* aym + min (ny, 0) .* ayp);
end

function out = extend_step (u, phi, h, dt)
  [fy, fx] = gradient (u, h); [gy, gx] = gradient (phi, h);
  w = 1 ./ sqrt (gx.^2 + gy.^2);
  out = u - ((gx .* w .* fx + gy .* w .* fy) .* (1 - 2 * (phi < 0))) * dt;
end

function p = redistance (p, h, steps)
  for s = 1:steps
    p = redistance_step (p, h, h / 2);
  end
end

function level_sets ()
  [r, c] = ndgrid (0:2047, 0:2047);
  dr = r - 1024; dc = c - 1024;
  phi = 1.3 * (sqrt (dr.^2 + dc.^2) - (700 + 40 * sin (atan2 (dr, dc) * 7)));
  psi = 0.8 * (r - 900) + 0.3 * (c - 1100);
  F = sin (0.01 * r) .* cos (0.013 * c);
  n = numel (phi);
  report ("lvs_redistance0", n, @() redistance_step (phi, 1, 0.5), "vectorised upwind step");
  report ("lvs_advance", n, @() advance_step (phi, F, 1, 0.5), "vectorised upwind step");
  report ("lvs_orthogonalise", n, @() orthogonalise_step (psi, phi, 1, 0.5), "vectorised upwind step");
  report ("lvs_extend", n, @() extend_step (F, phi, 1, 0.5), "vectorised central step");
  report ("lvs_redistance20", 5 * n, @() redistance (phi, 1, 5), "5 vectorised upwind steps");
end

%% Gradient-weighted basis, statistics, finite differences, inversion.

function r = product2 (I, B)
  [gc, gr] = gradient (I);
  r = [gr(:) .* B, gc(:) .* B];
end

function r = product3 (V, B)
  [gc, gr, gs] = gradient (V);
  r = [gr(:) .* B, gc(:) .* B, gs(:) .* B];
end

function basis_products ()
  I = smooth_image (2048, 2048);
  B = mod (reshape (0:numel (I) * 8 - 1, [], 8), 977) / 977;
  report ("gradient_basis2", numel (I), @() product2 (I, B), "gradient, then times the basis");
  V = smooth_volume (128, 128, 128);
  B = mod (reshape (0:numel (V) * 8 - 1, [], 8), 977) / 977;
  report ("gradient_basis3", numel (V), @() product3 (V, B), "gradient, then times the basis");
end

function [m, s] = stats (v)
  d = double (v(:));
  m = mean (d); s = std (d);
end

function d = diff_rows (I)
  d = [I(2, :) - I(1, :); (I(3:end, :) - I(1:end-2, :)) * 0.5; I(end, :) - I(end-1, :)];
end

function B = invert (A)
  B = zeros (size (A));
  for k = 1:columns (A)
    B(:, k) = reshape (inv (reshape (A(:, k), 6, 6)), 36, 1);
  end
end

function utilities ()
  I = smooth_image (4096, 4096);
  report ("mean_std2", numel (I), @() stats (I), "mean and std");
  report ("gradient_fd", numel (I), @() gradient (I), "gradient (both directions)");
  report ("difference_fd", numel (I), @() diff_rows (I), "vectorised row difference");
  clear I;
  V = int32 (mod ((0:512^3-1)' * 2654435761, 4096));
  report ("mean_std3", numel (V), @() stats (V), "mean and std of double(v)");
  clear V;
  A = rand (36, 20000) * 2 - 1;
  A(1:7:36, :) += 6;
  report ("inv_loop", columns (A), @() invert (A), "inv in a loop");
end

%% The runs.

I = smooth_image (2048, 2048);
[X, Y] = coherent2 (2000, 500);
sampling2 (X, Y, I, "coherent");
X = 3 + rand (1e6, 1) * 2040; Y = 3 + rand (1e6, 1) * 2040;
sampling2 (X, Y, I, "random");
clear I X Y;

V = smooth_volume (256, 256, 256);
[X, Y, Z] = coherent3 (250, 200, 20);
sampling3 (X, Y, Z, V, "coherent");
X = 3 + rand (1e6, 1) * 249; Y = 3 + rand (1e6, 1) * 249; Z = 3 + rand (1e6, 1) * 249;
sampling3 (X, Y, Z, V, "random");
clear V X Y Z;

elements (40, 8);
level_sets ();
basis_products ();
utilities ();
