% The pixel sampling plug-ins as Octave users call them.
1;
img = (1:5)'.^2 + 100 * (1:6);     % I(r, c) = r^2 + 100 c

% Messages as Octave shows them.
% Octave puts the plug-in's name before every message.
expect_error(@() pxBilinSample(1, 2), 'pxBilinSample: At least three inputs required.');
try
  pxBilinSample(2, 3, img);    % asks for no output
  error('a call without output was accepted');
catch err
  assert(err.message, 'pxBilinSample: Only one output required.');
end
expect_error(@() pxBilinSampleHold(2, [], img), ...
             'pxBilinSampleHold: Y must hold at least 1 elements (as many as X); it holds 0.');
expect_error(@() pxBilinSampleClamp(single(2), 3, img), ...
             'pxBilinSampleClamp: X must be a real double array (it is single).');
try
  v = pxBilinSample(2, 3, complex(img));
  error('a complex image was accepted');
catch err
  assert(err.identifier, 'pxBilinSample:notRealNumeric');
end

% Range rules along rows, y = 3.
x = [1.9, 2, 5 - 0.001, 5, NaN];
y = 3 * ones(size(x));
s = pxBilinSample(x, y, img);
assert(s([1 4 5]), [-13 -13 -13]);
assert(s(2), 304);
assert(s(3), 16 + 0.999 * 9 + 300, 1e-9);
c = pxBilinSampleClamp(x, y, img);
assert(c([1 2 4]), [(4 + 9) / 2 + 300, 304, 316]);
assert(isnan(c(5)));
h = pxBilinSampleHold(x, y, img);
assert(h([1 2 4]), [1 + 0.9 * 3 + 300, 304, 2 * 316 - 309], 1e-12);
assert(isnan(h(5)));

% Shapes: a 3 x 4 x 2 X gives 3 x 8; an empty X an empty output.
X = 3 * ones(3, 4, 2);
assert(size(pxBilinSample(X, 2.5 * ones(24, 1), img)), [3 8]);
assert(size(pxBilinSampleHold(zeros(0, 3), [], img)), [0 3]);

% A realistic use: a smooth image sampled on a shifted grid matches interp2.
[cc, rr] = meshgrid(1:40, 1:30);
smooth = sin(rr / 5) .* cos(cc / 7);
[yq, xq] = meshgrid(linspace(2, 39.5, 50), linspace(2, 29.5, 40));
ref = interp2(smooth, yq, xq, 'linear');
for f = {@pxBilinSample, @pxBilinSampleClamp, @pxBilinSampleHold}
  assert(f{1}(xq, yq, smooth), ref, 1e-12);
end
disp('pixel_test passed');
