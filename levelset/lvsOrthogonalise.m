% LVSORTHOGONALISE  Make a level set cross another at right angles, one step.
%
%   psi = lvsOrthogonalise(psi0, phi, h, dt) takes one explicit step of
%   psi_t + S(phi) n . grad psi = 0 on a 2-D grid, n = grad phi / |grad phi|
%   the unit normal of the reference level set phi and S(phi) its sign.
%   Repeated steps make psi constant along the normals of phi, so that
%   the level lines of psi cross those of phi at right angles.  psi is
%   differenced upwind along S n, phi centrally.  One call is one step;
%   the caller loops.
%
%   psi0  M x N real double field, M >= 2 and N >= 2 (of an array with
%         more dimensions only the first M x N page is used); rows are
%         the first axis, columns the second.
%   phi   reference level set: real double, at least M*N elements, read
%         at the same linear positions as psi0.
%   h     grid spacing of both axes: positive scalar of any numeric class.
%   dt    time step: scalar of any numeric class, used as given; there is no
%         stability check (dt = h/2 is a safe choice).
%   psi   M x N double.
%
%   S is -1 where phi < 0 and +1 elsewhere (phi = 0 included).  A cell
%   where phi is flat (both of its differences 0) has no normal and keeps
%   its value.  Differences are one-sided on the first and last row and
%   column.
%
%   Errors:
%     "Four inputs required."  other than four inputs
%     "One output required."   other than one output (none too)
%     lvsOrthogonalise:notRealDouble  a field input not a real double array
%     lvsOrthogonalise:fieldTooSmall  psi0 with fewer than 2 rows or columns
%     lvsOrthogonalise:tooShort       psi0 or phi with fewer than M*N
%                                     elements (psi0 with extents such as
%                                     2 x 3 x 0)
%     lvsOrthogonalise:emptyScalar    h or dt empty
%     lvsOrthogonalise:notNumeric     h or dt a cell, struct or function handle
%     lvsOrthogonalise:badSpacing     h not positive (0, negative or NaN)
%
%   Example:
%     [x, y] = ndgrid(1:8, 1:6);
%     phi = x - 3.5;                          % level lines along y
%     psi = lvsOrthogonalise(x + y, phi, 1, 0.5);
%     % lowered by 0.5 where x >= 4 (phi >= 0), raised by 0.5 where x <= 3
%
%   See also lvsExtendField, lvsRedistance, lvsAdvance.

%!test
%! [x, y] = ndgrid (1:8, 1:6);
%! psi = lvsOrthogonalise (x + y, x - 3.5, 1, 0.5);
%! assert (psi, x + y + 0.5 * (x <= 3) - 0.5 * (x >= 4));
%!error id=lvsOrthogonalise:tooShort psi = lvsOrthogonalise (magic (4), ones (4, 3), 1, 0.5);
%!error id=lvsOrthogonalise:fieldTooSmall psi = lvsOrthogonalise (1:8, 1:8, 1, 0.5);
