% The memory a volume sampled in its own class costs: a 1024^3 uint8 volume
% (1 GiB) sampled at 10 million random points by vxTrilinSample and
% vxCubicSample, given as it is (how = 'uint8') or as double(V) (how =
% 'double').  Run in a fresh octave-cli with the Octave plug-ins on the path
% and `how` set; prints one line with this process's peak resident memory
% (VmHWM) beside the bytes of the volume, the points and one output.
1;
function kib = peak()
  status = fileread('/proc/self/status');
  kib = str2double(regexp(status, 'VmHWM:\s*(\d+)', 'tokens', 'once'){1});
end

n = 1024;
count = 1e7;
rand('seed', 7);
x = 3 + (n - 7) * rand(count, 1);
y = 3 + (n - 7) * rand(count, 1);
z = 3 + (n - 7) * rand(count, 1);
start = peak();
V = zeros(n, n, n, 'uint8');
grey = mod((1:n)' + 3 * (1:n), 251);
for k = 1:n
  V(:, :, k) = uint8(mod(grey + k, 251));
end
clear grey;
for f = {@vxTrilinSample, @vxCubicSample}
  clear v;
  tic;
  if strcmp(how, 'double')
    v = f{1}(x, y, z, double(V));
  else
    v = f{1}(x, y, z, V);
  end
  seconds.(func2str(f{1})) = toc;
end
gib = 2^30;
volume = numel(V) * (1 + 7 * strcmp(how, 'double'));
data = 3 * count * 8 + count * 8;
printf(['%-6s volume: peak resident %.2f GiB (%.2f GiB before the volume); volume %.2f GiB as read, ' ...
        'points and one output %.2f GiB; vxTrilinSample %.2f s, vxCubicSample %.2f s\n'], ...
       how, peak() * 1024 / gib, start * 1024 / gib, volume / gib, data / gib, ...
       seconds.vxTrilinSample, seconds.vxCubicSample);
