function out = gaussian_blur(A, sigma)
% Gaussian blur of standard deviation sigma (in pixels or voxels) of an
% image or volume of any numeric class, as doubles of the same size: one
% separable pass along each dimension, zero outside.
  r = ceil(3 * sigma);
  k = exp(-((-r:r) .^ 2) / (2 * sigma ^ 2));
  k = k(:) / sum(k);
  out = double(A);
  for d = 1:ndims(out)
    shape = ones(1, max(d, 2));
    shape(d) = numel(k);
    out = convn(out, reshape(k, shape), 'same');
  end
end
