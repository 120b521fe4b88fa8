% FEQUADVOXELS  Integration points of a 3-D element laid over voxels.
%
%   [xg, yg, zg, wg] = feQuadVoxels(elt, xn, yn, zn, xpix, ypix, zpix)
%   finds, for each candidate point (xpix(p), ypix(p), zpix(p)), as a rule
%   a voxel centre of the element's bounding box, its local coordinates
%   (xi, eta, zeta) by Newton inversion of the element mapping, and keeps
%   it when it lies strictly inside: one integration point per voxel,
%   weight 1.
%
%   elt     element code, truncated toward zero: 4 tetrahedron and
%           8 hexahedron (nodes as in feShapeValues3), 6 wedge (triangle
%           (0,0), (1,0), (0,1) at zeta = -1, then the same at zeta = 1).
%   xn, yn, zn  physical node coordinates: real double, at least elt
%           elements each, in node order.
%   xpix    first coordinate of the points: real double, n x k;
%           n = size(xpix, 1).
%   ypix, zpix  the other coordinates: real double, at least n elements.
%   xg, yg, zg  n x 1 double: local coordinates of each point, 0 outside.
%   wg      n x 1 double: 1 inside the element, 0 outside.
%
%   Newton starts at (0, 0, 0) and stops once a step is no longer than
%   1e-6, or after 100000 steps.  Faces count as outside.  The node order
%   must give a positive Jacobian determinant in the right-handed x-y-z
%   frame; an element numbered the other way round, or a degenerate one,
%   gives (0, 0, 0, 0) at every point.  Any code other than 4, 6 or 8
%   gives (2, 2, 2, 0) at every point.
%
%   Errors:
%     "[xg,yg,zg,wg]=feQuadVoxel(elt,xn,yn,zn,xpix,ypix,zpix)"  other
%                        than seven inputs or other than four outputs
%     feQuadVoxels:notRealDouble  a coordinate input not real double
%     feQuadVoxels:emptyCode      elt empty
%     feQuadVoxels:notNumeric     elt a cell, struct or function handle
%     feQuadVoxels:tooShort       xn, yn or zn with fewer than elt
%                                 elements, ypix or zpix with fewer than n,
%                                 xpix with fewer than its n rows (2 x 0)
%
%   Example:
%     xn = [0 1 1 0 0 1 1 0];  yn = [0 0 1 1 0 0 1 1];
%     zn = [0 0 0 0 1 1 1 1];                  % the unit cube
%     [xg, yg, zg, wg] = feQuadVoxels(8, xn, yn, zn, [0.5; 0.75; 1.5], ...
%                                     [0.5; 0.25; 0.5], [0.5; 0.5; 0.5])
%     % xg = [0; 0.5; 0], yg = [0; -0.5; 0], zg = 0, wg = [1; 1; 0]
%
%   See also feShapeValues3, feQuadPixels, vxTrilinSample.

%!shared xn, yn, zn
%! xn = [0 1 1 0 0 1 1 0];
%! yn = [0 0 1 1 0 0 1 1];
%! zn = [0 0 0 0 1 1 1 1];
%!test
%! [xg, yg, zg, wg] = feQuadVoxels (8, xn, yn, zn, [0.5; 0.75; 1.5], [0.5; 0.25; 0.5], [0.5; 0.5; 0.5]);
%! assert ([xg, yg, zg, wg], [0 0 0 1; 0.5 -0.5 0 1; 0 0 0 0]);
%!error id=feQuadVoxels:tooShort [xg, yg, zg, wg] = feQuadVoxels (8, xn, yn, zn, [0.5; 0.5], 0.5, [0.5; 0.5]);
%!error <\[xg,yg,zg,wg\]=feQuadVoxel\(elt,xn,yn,zn,xpix,ypix,zpix\)> [xg, yg, zg, wg] = feQuadVoxels (8, xn, yn, zn, 0.5, 0.5);
