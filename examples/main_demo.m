% A first look at the plug-ins: a small image sampled at sub-pixel points by
% the three bilinear variants.  Points outside the sampled range show the
% sentinel -13 (pxBilinSample), the clamped edge value (pxBilinSampleClamp)
% or the extrapolated edge cell (pxBilinSampleHold).
img = magic(6);
x = [1.5 2.0 2.5 3.25 4.75 5.5 6.0];
y = [3.0 3.0 3.5 2.75 4.25 5.0 5.0];
printf('%6s %6s | %14s %18s %17s\n', 'x', 'y', 'pxBilinSample', 'pxBilinSampleClamp', ...
       'pxBilinSampleHold');
s = pxBilinSample(x, y, img);
c = pxBilinSampleClamp(x, y, img);
h = pxBilinSampleHold(x, y, img);
for k = 1:numel(x)
  printf('%6.2f %6.2f | %14.4f %18.4f %17.4f\n', x(k), y(k), s(k), c(k), h(k));
end
