% PXGRAYSTATS  Mean and sample standard deviation of an image.
%
%   [mu, sigma] = pxGrayStats(image) returns the mean and the sample
%   standard deviation (divisor K - 1 for K values) of the image, the two
%   numbers that grey-level normalisation needs.
%
%   image  M x N real array of class double, single, int8, uint8, int16,
%          uint16, int32, uint32, int64, uint64 or logical, each value
%          taken as a double; of an array with more dimensions only the
%          first M x N page is used.
%   mu     1 x 1 double: the mean.
%   sigma  1 x 1 double: the sample standard deviation.
%
%   Both sums run over the values in storage order, in double precision
%   (integer images cannot overflow).  An empty image gives mu = NaN and
%   sigma = -0; a single value gives sigma = NaN.  Inputs after the first
%   are ignored.
%
%   Errors:
%     "Only one input required."  no input
%     "Two outputs required."     other than two outputs (one too)
%     pxGrayStats:notRealNumeric  image complex, sparse or not numeric
%
%   Example:
%     [mu, sigma] = pxGrayStats([1 2; 3 4])   % 2.5, sqrt(5/3)
%     I = uint8(magic(8));
%     [mu, sigma] = pxGrayStats(I);
%     normalised = (double(I) - mu) / sigma;
%
%   See also vxGrayStats, mean, std.

%!test
%! [mu, sigma] = pxGrayStats ([1 2; 3 4]);
%! assert ([mu, sigma], [2.5, sqrt(5 / 3)], -4 * eps);
%!test
%! [mu, sigma] = pxGrayStats (cat (3, [1 2; 3 4], [50 60; 70 80]));
%! assert ([mu, sigma], [2.5, sqrt(5 / 3)], -4 * eps);
%!error id=pxGrayStats:notRealNumeric [mu, sigma] = pxGrayStats (complex (1, 1));
%!error <Two outputs required\.> mu = pxGrayStats ([1 2; 3 4]);
