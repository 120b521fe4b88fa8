% LVSREDISTANCE0  One redistancing step of a level-set function on a 2-D grid.
%
%   phi = lvsRedistance0(phi0, h, dt) takes one explicit pseudo-time step
%   of size dt of phi_t + S(phi) (|grad phi| - 1) = 0, which brings phi0
%   towards a signed distance (|grad phi| = 1).  It is the step that
%   lvsRedistance repeats; with it the caller chooses the step size and
%   runs the loop.  The gradient is the first-order Godunov upwind one; S
%   is the sign of phi0 (-1 below 0, +1 for 0 and above).
%
%   The steps do not hold the zero level in place: it moves by a fraction
%   of a cell, the further the more steps are taken.  For a circle of
%   radius 20.3 (phi0 = r^2/20.3^2 - 1 on ndgrid(-40:40), h = 1), 81 steps
%   of dt = 0.5 leave the mean radius of the zero level at 19.94.
%
%   phi0  M x N real double field, M >= 2 and N >= 2 (of an array with
%         more dimensions only the first M x N page is used); rows are
%         the first axis, columns the second.
%   h     grid spacing of both axes: positive scalar of any numeric class.
%   dt    step size: scalar of any numeric class, used as given (dt = 0 returns
%         phi0); there is no stability check, dt = h/2 is the step of
%         lvsRedistance.
%   phi   M x N double.
%
%   Differences are one-sided on the first and last row and column.
%
%   Errors:
%     "Three inputs required."  other than three inputs
%     "One output required."    other than one output (none too)
%     lvsRedistance0:notRealDouble  phi0 not a real double array
%     lvsRedistance0:fieldTooSmall  phi0 with fewer than 2 rows or columns
%     lvsRedistance0:tooShort       phi0 with fewer than M*N elements
%                                   (extents such as 2 x 3 x 0)
%     lvsRedistance0:emptyScalar    h or dt empty
%     lvsRedistance0:notNumeric     h or dt a cell, struct or function handle
%     lvsRedistance0:badSpacing     h not positive (0, negative or NaN)
%
%   Example:
%     [x, y] = ndgrid(-20:20);
%     phi = (x.^2 + y.^2) / 100 - 1;     % circle of radius 10
%     for step = 1:21
%       phi = lvsRedistance0(phi, 1, 0.5);
%     end                                % as lvsRedistance(phi0, 1, 10)
%
%   See also lvsRedistance, lvsAdvance.

%!test
%! [x, y] = ndgrid (-20:20);
%! phi = (x.^2 + y.^2) / 100 - 1;
%! for step = 1:21
%!   phi = lvsRedistance0 (phi, 1, 0.5);
%! end
%! assert (phi, lvsRedistance ((x.^2 + y.^2) / 100 - 1, 1, 10));
%!test
%! % 81 steps are lvsRedistance to T = 40, whose drift of the zero level
%! % (19.94 stated above) the tests of lvsRedistance measure
%! [x, y] = ndgrid (-40:40);
%! phi = (x.^2 + y.^2) / 20.3^2 - 1;
%! for step = 1:81
%!   phi = lvsRedistance0 (phi, 1, 0.5);
%! end
%! assert (phi, lvsRedistance ((x.^2 + y.^2) / 20.3^2 - 1, 1, 40));
%!assert (lvsRedistance0 (magic (4), 1, 0), magic (4))
%!error id=lvsRedistance0:tooShort phi = lvsRedistance0 (zeros (2, 3, 0), 1, 0.5);
%!error id=lvsRedistance0:fieldTooSmall phi = lvsRedistance0 (1:5, 1, 0.5);
%!error <Three inputs required\.> phi = lvsRedistance0 (magic (4), 1);
