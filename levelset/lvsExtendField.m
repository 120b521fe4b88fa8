% LVSEXTENDFIELD  Extend a field off the zero level of a level set, one step.
%
%   u = lvsExtendField(u0, phi, h, dt) takes one explicit step of
%   u_t + S(phi) n . grad u = 0 on a 2-D grid, n = grad phi / |grad phi|
%   the unit normal of the level set phi and S(phi) its sign.  Repeated
%   steps carry the values of u0 outward from the zero level of phi along
%   its normals (for instance a speed known only near the front), so that
%   u becomes constant along them.  Both fields are differenced centrally,
%   without upwinding.  One call is one step; the caller loops.
%
%   u0   M x N real double field, M >= 2 and N >= 2 (of an array with
%        more dimensions only the first M x N page is used); rows are the
%        first axis, columns the second.
%   phi  level set: real double, at least M*N elements, read at the same
%        linear positions as u0.
%   h    grid spacing of both axes: positive scalar of any numeric class.
%   dt   time step: scalar of any numeric class, used as given; there is no
%        stability check.
%   u    M x N double.
%
%   S is -1 where phi < 0 and +1 elsewhere (phi = 0 included).  Where phi
%   is flat (both of its differences 0) the normal is undefined and u is
%   NaN there; further steps spread that NaN to the neighbours, so keep
%   such cells (the centre of a circle, say) out of the field or reset
%   them between steps.  Differences are one-sided on the first and last
%   row and column.
%
%   Errors:
%     "Four inputs required."  other than four inputs
%     "One output required."   other than one output (none too)
%     lvsExtendField:notRealDouble  a field input not a real double array
%     lvsExtendField:fieldTooSmall  u0 with fewer than 2 rows or columns
%     lvsExtendField:tooShort       u0 or phi with fewer than M*N elements
%                                   (u0 with extents such as 2 x 3 x 0)
%     lvsExtendField:emptyScalar    h or dt empty
%     lvsExtendField:notNumeric     h or dt a cell, struct or function handle
%     lvsExtendField:badSpacing     h not positive (0, negative or NaN)
%
%   Example:
%     [x, y] = ndgrid(1:8, 1:6);
%     u = lvsExtendField(x + y, x - 3.5, 1, 0.5);
%     % lowered by 0.5 where x >= 4 (phi >= 0), raised by 0.5 where x <= 3
%
%   See also lvsOrthogonalise, lvsAdvance, lvsRedistance.

%!test
%! [x, y] = ndgrid (1:8, 1:6);
%! u = lvsExtendField (x + y, x - 3.5, 1, 0.5);
%! assert (u, x + y + 0.5 * (x <= 3) - 0.5 * (x >= 4));
%!error id=lvsExtendField:tooShort u = lvsExtendField (magic (4), ones (4, 3), 1, 0.5);
%!error id=lvsExtendField:badSpacing u = lvsExtendField (magic (4), magic (4), NaN, 0.5);
%!error <Four inputs required\.> u = lvsExtendField (magic (4), magic (4), 1);
