% The shape-value and integration-point plug-ins as Octave users call them.
1;
function [a, b, c] = three(f, varargin)
  [a, b, c] = f(varargin{:});
end

% Messages as Octave shows them, with the plug-in's name in front.
expect_error(@() feShapeValues2(3, 0.5), 'feShapeValues2: [FF]=feShapeValues2(elt,xg,yg)');
expect_error(@() feShapeValues3(4, 0.5, 0.5), 'feShapeValues3: [FF]=feShapeValues3(elt,xg,yg,zg)');
expect_error(@() three(@feQuadPixels, 4, [0 1 1 0], [0 0 1 1], 0.5), ...
             'feQuadPixels: [xg,yg,wg]=feQuadPixel(elt,xn,yn,xpix,ypix)');
try
  [xg, yg] = feQuadPixels(4, [0 1 1 0], [0 0 1 1], 0.5, 0.5);
  error('two outputs were accepted');
catch err
  assert(err.message, 'feQuadPixels: [xg,yg,wg]=feQuadPixel(elt,xn,yn,xpix,ypix)');
end
try
  [xg, yg, wg] = feQuadVoxels(8, 0:7, 0:7, 0:7, 0.5, 0.5, 0.5);
  error('three outputs were accepted');
catch err
  assert(err.message, 'feQuadVoxels: [xg,yg,zg,wg]=feQuadVoxel(elt,xn,yn,zn,xpix,ypix,zpix)');
end
expect_error(@() three(@feQuadPixels, 4, [0 1 1], [0 0 1 1], 0.5, 0.5), ...
             'feQuadPixels: xn must hold at least 4 elements (one per node of the element); it holds 3.');
expect_error(@() feShapeValues2(4, single([0; 1]), [0; 1]), ...
             'feShapeValues2: xg must be a real double array (it is single).');
try
  [xg, yg, zg, wg] = feQuadVoxels(4, [0 1 0 0], [0 0 1 0], [0 0 0 1], [0.1; 0.2], [0.1; 0.2], 0.1);
  error('a short zpix was accepted');
catch err
  assert(err.identifier, 'feQuadVoxels:tooShort');
end

% Documented values, shapes and classes.
FF = feShapeValues2(4, [0; 1; 2], [0; 1; 2]);
assert(FF, [0.25 0.25 0.25 0.25; 0 0 1 0; 0.25 -0.75 2.25 -0.75]);
assert(class(FF), 'double');
assert(feShapeValues2(3.9, [0.25 9 9], [0.5 9 9]), [0.25 0.25 0.5 0]);
assert(size(feShapeValues3(8, zeros(0, 2), [], [])), [0 8]);
assert(feShapeValues3(6, 0.2, 0.2, 0.2), zeros(1, 8));
[xg, yg, wg] = feQuadPixels(4.7, [0 1 1 0], [0 0 1 1], [0.5; 0.75; 1.5], [0.5; 0.25; 0.5]);
assert([xg yg wg], [0 0 1; 0.5 -0.5 1; 0 0 0], 1e-15);
[xg, yg, wg] = feQuadPixels(-2, [0 1 1 0], [0 0 1 1], [0.5; 0.75], [0.5; 0.25]);
assert([xg yg wg], [2 2 0; 2 2 0]);
[xg, yg, zg, wg] = feQuadVoxels(4, [0 1 0 0], [0 0 1 0], [0 0 0 1], [0.1; 0.5], [0.2; 0.5], [0.3; 0]);
assert([xg yg zg wg], [0.1 0.2 0.3 1; 0 0 0 0], 1e-15);
[xg, yg, zg, wg] = feQuadVoxels(8, 0:7, 0:7, 0:7, zeros(0, 1), [], []);
assert(size(xg), [0 1]);
assert(size(wg), [0 1]);

% A realistic use: a 4 x 4 mesh of quadrangles with edges between pixel
% centres, over a 40 x 40 image.  Every pixel belongs to exactly one element,
% and the shape values at its local coordinates give back its centre.
[cc, rr] = meshgrid(1:40, 1:40);
edges = 0.5 + 10 * (0:4);
owner = zeros(40, 40);
for i = 1:4
  for j = 1:4
    xn = edges([i i+1 i+1 i]);
    yn = edges([j j j+1 j+1]);
    % Shear the nodes along y inside the mesh to make the elements general.
    xn = xn + 0.3 * (yn - 20.5) .* (xn > 1 & xn < 40);
    [xg, yg, wg] = feQuadPixels(4, xn, yn, rr(:), cc(:));
    owner = owner + reshape(wg, 40, 40);
    in = wg > 0;
    N = feShapeValues2(4, xg(in), yg(in));
    assert(N * xn(:), rr(in), 1e-9);
    assert(N * yn(:), cc(in), 1e-9);
  end
end
assert(all(owner(:) == 1));

% A triangle's points against inpolygon, and a wedge over a voxel box.
xt = [2.3 37.9 14.2];
yt = [1.7 12.4 38.6];
[xg, yg, wg] = feQuadPixels(3, xt, yt, rr(:), cc(:));
assert(wg, double(inpolygon(rr(:), cc(:), xt, yt)));
assert(any(wg));

[x, y, z] = ndgrid(1:12, 1:12, 1:9);
xw = [0.6 11.3 0.6 0.6 11.3 0.6];
yw = [0.6 0.6 11.3 0.6 0.6 11.3];
zw = [0.5 0.5 0.5 8.5 8.5 8.5];
[xg, yg, zg, wg] = feQuadVoxels(6, xw, yw, zw, x(:), y(:), z(:));
assert(wg, double(x(:) + y(:) < 11.9 & z(:) < 8.5));
in = wg > 0;
assert(0.6 + 10.7 * xg(in), x(in), 1e-9);
assert(0.6 + 10.7 * yg(in), y(in), 1e-9);
assert(4.5 + 4 * zg(in), z(in), 1e-9);
disp('fe_test passed');
