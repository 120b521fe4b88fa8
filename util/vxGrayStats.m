% VXGRAYSTATS  Mean and sample standard deviation of a volume.
%
%   [mu, sigma] = vxGrayStats(volume)
%
%   volume  M x N x P array of any real numeric or logical class (int32 and
%           double volumes are the usual ones); a 2-D array is one slice.
%   mu      mean of the values (1 x 1 double).
%   sigma   sample standard deviation, divisor K - 1 for K values.
%
%   Both sums run over the values in storage order.  An empty volume gives
%   mu = NaN and sigma = -0; a single value gives sigma = NaN.
%
%   Errors: fewer than one input, or other than two outputs; a volume that
%   is complex, sparse or not numeric (vxGrayStats:notRealNumeric).
%
%   Example:
%     [mu, sigma] = vxGrayStats(int32(vol));
%
%   See also: pxGrayStats, mean, std.
