% LVSREDISTANCE  Redistance a 2-D level-set function to a signed distance.
%
%   phi = lvsRedistance(phi0, h, T) brings the level-set field phi0
%   towards a signed distance (|grad phi| = 1) by explicit pseudo-time
%   steps of phi_t + S(phi) (|grad phi| - 1) = 0 up to the pseudo-time T.
%   The gradient is the first-order Godunov upwind one; S is the sign of
%   the field being stepped, taken anew at every step (-1 below 0, +1 for
%   0 and above, not smoothed).
%
%   The scheme does not hold the zero level in place: it moves by a
%   fraction of a cell, the further the longer T, and a sharp corner can
%   change sign.  For a circle of radius 20.3 (phi0 = r^2/20.3^2 - 1 on
%   ndgrid(-40:40), h = 1) the mean radius of the zero level is 20.26 at
%   T = 10, 19.94 at T = 40 and 19.52 at T = 80; in the example below a
%   node with phi0 = 0 ends at 0.405.
%
%   phi0  M x N real double field, M >= 2 and N >= 2 (of an array with
%         more dimensions only the first M x N page is used); rows are
%         the first axis, columns the second.
%   h     grid spacing of both axes: positive scalar of any numeric class.
%   T     pseudo-time limit: scalar of any numeric class.
%   phi   M x N double.
%
%   Steps of h/2 are taken while the running time 0, h/2, h, ... does not
%   exceed T: one step for T = 0, none for T < 0 or NaN (phi is phi0).
%   Differences are one-sided on the first and last row and column.
%
%   Errors:
%     "Three inputs required."  other than three inputs
%     "One output required."    other than one output (none too)
%     lvsRedistance:notRealDouble     phi0 not a real double array
%     lvsRedistance:fieldTooSmall     phi0 with fewer than 2 rows or columns
%     lvsRedistance:tooShort          phi0 with fewer than M*N elements
%                                     (extents such as 2 x 3 x 0)
%     lvsRedistance:emptyScalar       h or T empty
%     lvsRedistance:notNumeric        h or T a cell, struct or function handle
%     lvsRedistance:badSpacing        h not positive (0, negative or NaN)
%     lvsRedistance:endlessIteration  T of 2^53 steps or more (Inf too)
%
%   Example:
%     [x, y] = ndgrid(-20:20);
%     phi0 = (x.^2 + y.^2) / 100 - 1;    % circle of radius 10, |grad| 0.2
%     phi = lvsRedistance(phi0, 1, 10);  % 21 steps of 0.5
%     % near the circle |grad phi| is now within 0.02 of 1
%
%   See also lvsRedistance0, lvsAdvance, lvsOrthogonalise, lvsExtendField.

%!shared x, y, phi0
%! [x, y] = ndgrid (-20:20);
%! phi0 = (x.^2 + y.^2) / 100 - 1;
%!test
%! phi = lvsRedistance (phi0, 1, 10);
%! [gx, gy] = gradient (phi);
%! band = abs (hypot (x, y) - 10) < 3;
%! assert (max (abs (hypot (gx(band), gy(band)) - 1)) < 0.02);
%!assert (lvsRedistance (phi0, 1, -1), phi0)
%!assert (lvsRedistance (phi0, 1, 10)(31, 21), 0.405, 5e-4)
%!function r = zeroRadius (phi, x, y)
%!  % mean distance from the centre of the zero crossings between
%!  % neighbouring nodes, each placed by linear interpolation
%!  r = [];
%!  for axis = 1:2
%!    if (axis == 2)
%!      phi = phi.'; x = x.'; y = y.';
%!    end
%!    a = phi(1:end-1, :); b = phi(2:end, :);
%!    k = find ((a < 0) != (b < 0));
%!    t = a(k) ./ (a(k) - b(k));
%!    x0 = x(1:end-1, :); x1 = x(2:end, :); y0 = y(1:end-1, :); y1 = y(2:end, :);
%!    r = [r; hypot(x0(k) + t .* (x1(k) - x0(k)), y0(k) + t .* (y1(k) - y0(k)))];
%!  end
%!  r = mean (r);
%!endfunction
%!test
%! % the drift of the zero level that the help states
%! [x, y] = ndgrid (-40:40);
%! circle = (x.^2 + y.^2) / 20.3^2 - 1;
%! r = arrayfun (@(T) zeroRadius (lvsRedistance (circle, 1, T), x, y), [10 40 80]);
%! assert (round (100 * r) / 100, [20.26 19.94 19.52]);
%!error id=lvsRedistance:badSpacing phi = lvsRedistance (phi0, 0, 2);
%!error id=lvsRedistance:endlessIteration phi = lvsRedistance (phi0, 1, Inf);
%!error id=lvsRedistance:tooShort phi = lvsRedistance (zeros (2, 3, 0), 1, 2);
