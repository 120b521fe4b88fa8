% FESHAPEVALUES2  Triangle or quadrangle shape functions at local points.
%
%   FF = feShapeValues2(elt, xg, yg) evaluates the shape functions of one
%   2-D finite element at points given in its reference coordinates
%   (xi, eta), for instance the local coordinates that feQuadPixels
%   returns.  Row p of FF holds the value of each node's function at
%   point p.
%
%   elt  element code, the number of nodes, truncated toward zero:
%          3  3-node triangle, nodes (0,0), (1,0), (0,1):
%             N = [1 - xi - eta, xi, eta, 0]
%          4  4-node quadrangle, nodes (-1,-1), (1,-1), (1,1), (-1,1):
%             N = (1 +- xi)(1 +- eta) / 4, counter-clockwise
%        any other code gives a matrix of zeros, without an error.
%   xg   local coordinate xi: real double, n x k; n = size(xg, 1),
%        so a row vector counts as one point.
%   yg   local coordinate eta: real double, at least n elements.
%   FF   n x 4 double; column k is node k.  The fourth column of the
%        triangle is 0.  Points outside the reference element get the
%        polynomial values as they are (negative or above 1).
%
%   Errors:
%     "[FF]=feShapeValues2(elt,xg,yg)"  other than three inputs or other
%                                       than one output (none too)
%     feShapeValues2:notRealDouble  xg or yg not a real double array
%     feShapeValues2:emptyCode      elt empty
%     feShapeValues2:notNumeric     elt a cell, struct or function handle
%     feShapeValues2:tooShort       yg holds fewer than n elements, or xg
%                                   fewer than its n rows (say 2 x 0)
%
%   Example:
%     FF = feShapeValues2(4, [0; 1; 2], [0; 1; 2])
%     % rows [.25 .25 .25 .25], [0 0 1 0], [.25 -.75 2.25 -.75]
%
%   See also feQuadPixels, feShapeValues3, slopeBasis2.

%!assert (feShapeValues2 (4, [0; 1; 2], [0; 1; 2]),
%!        [0.25 0.25 0.25 0.25; 0 0 1 0; 0.25 -0.75 2.25 -0.75])
%!assert (feShapeValues2 (3, [0; 0.5], [0; 0.25]), [1 0 0 0; 0.25 0.5 0.25 0])
%!assert (feShapeValues2 (5, [0; 1], [0; 1]), zeros (2, 4))
%!error id=feShapeValues2:tooShort FF = feShapeValues2 (4, [0; 1], 0);
%!error <\[FF\]=feShapeValues2\(elt,xg,yg\)> feShapeValues2 (4, 0, 0)
