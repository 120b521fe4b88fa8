% FEQUADPIXELS  Integration points of a 2-D element laid over pixels.
%
%   [xg, yg, wg] = feQuadPixels(elt, xn, yn, xpix, ypix) finds, for each
%   candidate point (xpix(p), ypix(p)), as a rule a pixel centre of the
%   element's bounding box, its local coordinates (xi, eta) in the element
%   by Newton inversion of the element mapping, and keeps it when it lies
%   strictly inside: one integration point per pixel, weight 1.
%
%   elt   element code, truncated toward zero: 3 triangle, 4 quadrangle,
%         with the nodes and shape functions of feShapeValues2.
%   xn    first physical coordinate of the nodes: real double, at least
%         elt elements, in node order.
%   yn    second physical coordinate of the nodes, likewise.
%   xpix  first coordinate of the points: real double, n x k;
%         n = size(xpix, 1).
%   ypix  second coordinate of the points: real double, at least n
%         elements.
%   xg, yg  n x 1 double: local coordinates of each point, 0 outside.
%   wg    n x 1 double: 1 inside the element, 0 outside.
%
%   Newton starts at (0, 0) and stops once a step is no longer than 1e-6,
%   or after 1000 steps.  Edges count as outside, so a pixel centre on an
%   edge shared by two elements belongs to neither.  The nodes must run
%   counter-clockwise in the (x, y) frame, x the first coordinate and y
%   the second (Jacobian determinant > 0); a clockwise or degenerate
%   element gives (0, 0, 0) at every point, and so does a point with a
%   NaN coordinate.  Any code other than 3 or 4 gives (2, 2, 0) at every
%   point.
%
%   Errors:
%     "[xg,yg,wg]=feQuadPixel(elt,xn,yn,xpix,ypix)"  other than five
%                              inputs or other than three outputs
%     feQuadPixels:notRealDouble  xn, yn, xpix or ypix not real double
%     feQuadPixels:emptyCode      elt empty
%     feQuadPixels:notNumeric     elt a cell, struct or function handle
%     feQuadPixels:tooShort       xn or yn with fewer than elt elements,
%                                 ypix with fewer than n, xpix with fewer
%                                 than its n rows (say 2 x 0)
%
%   Example:
%     [xg, yg, wg] = feQuadPixels(4, [0 1 1 0], [0 0 1 1], ...
%                                 [0.5; 0.75; 1.5], [0.5; 0.25; 0.5])
%     % xg = [0; 0.5; 0], yg = [0; -0.5; 0], wg = [1; 1; 0]
%
%   See also feShapeValues2, feQuadVoxels, pxBilinSample.

%!test
%! [xg, yg, wg] = feQuadPixels (4, [0 1 1 0], [0 0 1 1], [0.5; 0.75; 1.5], [0.5; 0.25; 0.5]);
%! assert ([xg, yg, wg], [0 0 1; 0.5 -0.5 1; 0 0 0]);
%!test
%! [xg, yg, wg] = feQuadPixels (7, [0 1 1 0], [0 0 1 1], [0.5; 0.75], [0.5; 0.25]);
%! assert ([xg, yg, wg], [2 2 0; 2 2 0]);
%!error id=feQuadPixels:tooShort [xg, yg, wg] = feQuadPixels (4, [0 1 1], [0 0 1 1], 0.5, 0.5);
%!error <\[xg,yg,wg\]=feQuadPixel\(elt,xn,yn,xpix,ypix\)> [xg, yg] = feQuadPixels (3, [0 1 0], [0 0 1], 0.5, 0.5);
