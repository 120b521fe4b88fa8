% FESHAPEVALUES3  Tetrahedron or hexahedron shape functions at local points.
%
%   FF = feShapeValues3(elt, xg, yg, zg) evaluates the shape functions of
%   one 3-D finite element at points given in its reference coordinates
%   (xi, eta, zeta), for instance the local coordinates that feQuadVoxels
%   returns.  Row p of FF holds the value of each node's function at
%   point p.
%
%   elt  element code, the number of nodes, truncated toward zero:
%          4  4-node tetrahedron, nodes (0,0,0), (1,0,0), (0,1,0),
%             (0,0,1): N = [1 - xi - eta - zeta, xi, eta, zeta, 0, 0, 0, 0]
%          8  8-node hexahedron on [-1, 1]^3: nodes 1-4 on the face
%             zeta = -1, counter-clockwise from (-1,-1), nodes 5-8 above
%             them on zeta = 1; N = (1 +- xi)(1 +- eta)(1 +- zeta) / 8
%        any other code, the wedge's 6 included, gives zeros.
%   xg   local coordinate xi: real double, n x k; n = size(xg, 1),
%        so a row vector counts as one point.
%   yg   local coordinate eta: real double, at least n elements.
%   zg   local coordinate zeta: real double, at least n elements.
%   FF   n x 8 double; column k is node k.  Columns 5 to 8 of the
%        tetrahedron are 0.  Points outside the reference element get the
%        polynomial values as they are.
%
%   Errors:
%     "[FF]=feShapeValues3(elt,xg,yg,zg)"  other than four inputs or other
%                                          than one output (none too)
%     feShapeValues3:notRealDouble  xg, yg or zg not a real double array
%     feShapeValues3:emptyCode      elt empty
%     feShapeValues3:notNumeric     elt a cell, struct or function handle
%     feShapeValues3:tooShort       yg or zg holds fewer than n elements,
%                                   or xg fewer than its n rows (2 x 0)
%
%   Example:
%     FF = feShapeValues3(8, [0; 1], [0; 1], [0; 1])
%     % row 1: 0.125 eight times; row 2: 1 in column 7, 0 elsewhere
%
%   See also feQuadVoxels, feShapeValues2, slopeBasis3.

%!assert (feShapeValues3 (8, [0; 1], [0; 1], [0; 1]),
%!        [0.125 * ones(1, 8); 0 0 0 0 0 0 1 0])
%!error id=feShapeValues3:tooShort FF = feShapeValues3 (8, [0; 1], [0; 1], 0);
%!error <\[FF\]=feShapeValues3\(elt,xg,yg,zg\)> FF = feShapeValues3 (8, 0, 0);
