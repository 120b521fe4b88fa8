% VXGRAYSTATS  Mean and sample standard deviation of a volume.
%
%   [mu, sigma] = vxGrayStats(volume) returns the mean and the sample
%   standard deviation (divisor K - 1 for K values) of the volume, the two
%   numbers that grey-level normalisation needs.
%
%   volume  M x N x P real array of class double, single, int8, uint8,
%           int16, uint16, int32, uint32, int64, uint64 or logical, each
%           value taken as a double; a 2-D array is one slice.  Of an
%           array with more dimensions only the first M x N x P block is
%           used.
%   mu      1 x 1 double: the mean.
%   sigma   1 x 1 double: the sample standard deviation.
%
%   Both sums run over the values in storage order, in double precision
%   (int32 values near the limits cannot overflow).  An empty volume
%   gives mu = NaN and sigma = -0; a single value gives sigma = NaN.
%   Inputs after the first are ignored.
%
%   Errors:
%     "Only one input required."  no input
%     "Two outputs required."     other than two outputs (one too)
%     vxGrayStats:notRealNumeric  volume complex, sparse or not numeric
%
%   Example:
%     V = int32(reshape(1:24, 2, 3, 4));
%     [mu, sigma] = vxGrayStats(V)           % 12.5, sqrt(50)
%
%   See also pxGrayStats, mean, std.

%!test
%! [mu, sigma] = vxGrayStats (int32 (reshape (1:24, 2, 3, 4)));
%! assert ([mu, sigma], [12.5, sqrt(50)], -4 * eps);
%!error id=vxGrayStats:notRealNumeric [mu, sigma] = vxGrayStats (complex (1, 1));
%!error <Only one input required\.> [mu, sigma] = vxGrayStats ();
