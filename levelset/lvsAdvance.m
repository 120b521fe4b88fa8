% LVSADVANCE  Move the zero level of a level set with a normal speed.
%
%   phi = lvsAdvance(phi0, F, h, dt) takes one explicit time step of the
%   level-set equation phi_t + F |grad phi| = 0 on a 2-D grid:
%   phi = phi0 - F |grad phi0| dt.  Where F > 0 the zero level moves
%   towards positive phi0 (a circle with phi0 < 0 inside grows), where
%   F < 0 the other way.  |grad phi0| is the first-order Godunov upwind
%   magnitude, its upwind side chosen by the sign of F (0 counting as
%   positive).  One call is one step; the caller loops.
%
%   phi0  M x N real double field, M >= 2 and N >= 2 (of an array with
%         more dimensions only the first M x N page is used); rows are
%         the first axis, columns the second.
%   F     normal speed: real double, at least M*N elements, read at the
%         same linear positions as phi0 (its shape is not looked at).
%   h     grid spacing of both axes: positive scalar of any numeric class.
%   dt    time step: scalar of any numeric class, used as given.  There is no
%         stability check: keep max(abs(F(:))) * dt well below h.
%   phi   M x N double.
%
%   Differences are one-sided on the first and last row and column.
%
%   Errors:
%     "Four inputs required."  other than four inputs
%     "One output required."   other than one output (none too)
%     lvsAdvance:notRealDouble  a field input not a real double array
%     lvsAdvance:fieldTooSmall  phi0 with fewer than 2 rows or columns
%     lvsAdvance:tooShort       phi0 or F with fewer than M*N elements
%                               (phi0 with extents such as 2 x 3 x 0)
%     lvsAdvance:emptyScalar    h or dt empty
%     lvsAdvance:notNumeric     h or dt a cell, struct or function handle
%     lvsAdvance:badSpacing     h not positive (0, negative or NaN)
%
%   Example:
%     [x, y] = ndgrid(-20:20);
%     phi0 = hypot(x, y) - 10;                % circle of radius 10
%     phi = lvsAdvance(phi0, ones(41), 1, 0.5);
%     % phi - phi0 = -0.5 |grad phi0|: on the circle -0.5 where it meets
%     % the axes, about -0.482 at (6, 8), where the upwind gradient is
%     % shorter than 1; phi < 0 all along the circle, which grows by
%     % about 0.5
%
%   See also lvsRedistance, lvsExtendField, lvsOrthogonalise.

%!test
%! [x, y] = ndgrid (-20:20);
%! phi0 = hypot (x, y) - 10;
%! phi = lvsAdvance (phi0, ones (41), 1, 0.5);
%! assert (phi(x == 10 & y == 0), -0.5);
%! assert (phi(x == 6 & y == 8), -0.482, 1e-3);
%! assert (all (phi(phi0 == 0) < 0));
%!error id=lvsAdvance:tooShort phi = lvsAdvance (magic (4), ones (4, 3), 1, 0.5);
%!error id=lvsAdvance:badSpacing phi = lvsAdvance (magic (4), ones (4), -1, 0.5);
