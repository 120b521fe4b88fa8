% PXGRAYSTATS  Mean and sample standard deviation of an image.
%
%   [mu, sigma] = pxGrayStats(image)
%
%   image  M x N array of any real numeric or logical class; of an array
%          with more dimensions only the first M x N page is used.
%   mu     mean of the values (1 x 1 double).
%   sigma  sample standard deviation, divisor K - 1 for K values.
%
%   Both sums run over the values in storage order.  An empty image gives
%   mu = NaN and sigma = -0; a single value gives sigma = NaN.
%
%   Errors: fewer than one input, or other than two outputs; an image that
%   is complex, sparse or not numeric (pxGrayStats:notRealNumeric).
%
%   Example:
%     [mu, sigma] = pxGrayStats(img);
%     normalised = (double(img) - mu) / sigma;
%
%   See also: vxGrayStats, mean, std.
