% Bad calls to every plug-in in one Octave process: a served call of each,
% then a few hundred calls with one or two things changed (output count,
% input count, an input's class, complexity, sparsity, shape or values) or
% made of random odd arrays (cells, structs, strings and function handles
% included).  Each call must end in a value or an error with a message;
% every value must be a real double array; the process must survive.
1;

function [args, nout] = served(name)
  X = [2.5 3; 4 5.5];  Y = [3 2.5; 4.5 5];  I = magic(8);
  x = [3.5 4];  y = [3 4.2];  z = [4 3.3];  V = reshape(1:512, 8, 8, 8);
  switch name
    case {'pxBilinSample', 'pxBilinSampleClamp', 'pxBilinSampleHold', 'pxCubicSample'}
      args = {X, Y, I};  nout = 1;
    case {'pxCellSlope', 'pxCubicSlope'}
      args = {X, Y, I};  nout = 2;
    case 'pxCellSlopeMasked'
      args = {X, Y, I, int32(ones(8))};  nout = 2;
    case {'vxTrilinSample', 'vxCubicSample'}
      args = {x, y, z, V};  nout = 1;
    case {'vxCellSlope', 'vxCubicSlope'}
      args = {x, y, z, V};  nout = 3;
    case 'feShapeValues2'
      args = {4, [0; 0.5], [0; -0.5]};  nout = 1;
    case 'feShapeValues3'
      args = {8, [0; 0.5], [0; 0.5], [0; -0.5]};  nout = 1;
    case 'feQuadPixels'
      args = {4, [0 1 1 0], [0 0 1 1], [0.5; 0.25], [0.5; 0.75]};  nout = 3;
    case 'feQuadVoxels'
      args = {8, [0 1 1 0 0 1 1 0], [0 0 1 1 0 0 1 1], [0 0 0 0 1 1 1 1], ...
              [0.5; 0.2], [0.5; 0.3], [0.5; 0.4]};  nout = 4;
    case 'slopeBasis2'
      args = {magic(4), ones(16, 2)};  nout = 1;
    case 'slopeBasis3'
      args = {reshape(1:27, 3, 3, 3), ones(27, 1), 1};  nout = 1;
    case 'slopeBasis3p'
      args = {reshape(1:27, 3, 3, 3), ones(8, 1), int32([0; 2]), int32([0; 1]), int32([1; 2])};  nout = 1;
    case 'lvsRedistance'
      args = {peaks(8), 1, 2};  nout = 1;
    case 'lvsRedistance0'
      args = {peaks(8), 1, 0.5};  nout = 1;
    case 'lvsAdvance'
      args = {peaks(8), ones(8), 1, 0.1};  nout = 1;
    case {'lvsOrthogonalise', 'lvsExtendField'}
      args = {peaks(8), peaks(8)', 1, 0.1};  nout = 1;
    case 'pxGrayStats'
      args = {magic(4)};  nout = 2;
    case 'vxGrayStats'
      args = {int32(reshape(1:24, 2, 3, 4))};  nout = 2;
    case 'fdSlope'
      args = {magic(5)};  nout = 1;
    case 'matInvert6'
      args = {[reshape(eye(6), 36, 1), reshape(2 * eye(6), 36, 1)]};  nout = 1;
  end
end

function v = odd()
  persistent palette
  if isempty(palette)
    palette = {[], NaN, Inf, -Inf, -0, 1e300, -1e300, realmin, 2^31, -2^31 - 1, 0.5, -3, 7, 2.9, ...
               int32(5), single(2.5), uint8(200), true, 'abc', {1, 2}, struct('a', 1), @sin, 1 + 2i, ...
               sparse([1 0; 0 2]), zeros(3, 0), zeros(0, 3), zeros(2, 3, 0), rand(2, 3, 2, 2), ...
               int8([-128 127]), uint64(2^60), int32([-5 99 2^31 - 1]), rand(5), -rand(4, 1), ...
               single([NaN Inf]), logical([1 0 1]), int32(magic(4))};
  end
  v = palette{randi(numel(palette))};
end

function v = changed(v)
  switch randi(10)
    case 1, v = single(v);
    case 2, v = int32(v);
    case 3, v = uint8(v);
    case 4, v = logical(v);
    case 5, v = char(v);
    case 6, v = complex(v, ones(size(v)));
    case 7, v = sparse(double(v(:, :)));
    case 8, v = v(:);
    case 9, v = reshape(v, size(v, 1), 0 * size(v, 2));
    otherwise
      if numel(v) > 0 && isfloat(v)
        v(randi(numel(v))) = [NaN, Inf, -Inf, 1e300, -5, 0, 2^31, 0.5](randi(8));
      else
        v = v(1:end - 1);
      end
  end
end

% lvsRedistance iterates about T / (h / 2) steps: calls asking for millions
% of them are served but too slow here (beyond 2^56 the loop could never
% end, so those stay in).
function c = costly(name, args)
  c = false;
  if strcmp(name, 'lvsRedistance') && numel(args) == 3 && isnumeric(args{2}) && isnumeric(args{3}) ...
     && ~isempty(args{2}) && ~isempty(args{3})
    h = double(args{2}(1));  T = double(args{3}(1));
    steps = T / (h * 0.5);
    c = isreal(h) && isreal(T) && h > 0 && isfinite(h) && isfinite(T) && T >= 0 && steps > 2e4 && steps < 2^56;
  end
end

% Makes the call; returns '' or what went wrong.
function problem = attempt(name, args, nout)
  problem = '';
  try
    if nout == 0
      feval(name, args{:});
    else
      out = cell(1, nout);
      [out{:}] = feval(name, args{:});
      for k = 1:nout
        if ~isa(out{k}, 'double') || ~isreal(out{k}) || issparse(out{k})
          problem = sprintf('output %d is a %s', k, class(out{k}));
        end
      end
    end
  catch err
    if isempty(err.message) || strcmp(strtrim(err.message), [name ':'])
      problem = 'an error without a message';
    end
  end
end

warning('off', 'all');   % the class changes warn about range errors
trace = ~isempty(getenv('GRIDMEX_FUZZ_TRACE'));   % prints each call before making it
rand('seed', 11);
names = {'pxBilinSample', 'pxBilinSampleClamp', 'pxBilinSampleHold', 'pxCellSlope', 'pxCellSlopeMasked', ...
         'pxCubicSample', 'pxCubicSlope', 'vxTrilinSample', 'vxCellSlope', 'vxCubicSample', 'vxCubicSlope', ...
         'feShapeValues2', 'feShapeValues3', 'feQuadPixels', 'feQuadVoxels', 'slopeBasis2', 'slopeBasis3', ...
         'slopeBasis3p', 'lvsRedistance', 'lvsRedistance0', 'lvsAdvance', 'lvsOrthogonalise', ...
         'lvsExtendField', 'pxGrayStats', 'vxGrayStats', 'fdSlope', 'matInvert6'};
problems = {};
calls = 0;
for n = 1:numel(names)
  name = names{n};
  [args, nout] = served(name);
  out = cell(1, nout);
  [out{:}] = feval(name, args{:});   % a served call succeeds
  for trial = 1:300
    [a, m] = served(name);
    if trial <= 100
      a = arrayfun(@(k) odd(), 1:randi([0 8]), 'UniformOutput', false);
      m = randi([0 4]);
    else
      for change = 1:randi(2)
        switch randi(5)
          case 1, m = randi([0 4]);
          case 2, a = a(1:randi([0 numel(a)]));
          case 3, a{end + 1} = odd();
          case 4, k = randi(numel(a));  a{k} = odd();
          otherwise
            k = randi(numel(a));
            try
              a{k} = changed(a{k});
            catch
              a{k} = odd();   % a change Octave itself refuses (logical(NaN), ...)
            end
        end
        if isempty(a), break; end
      end
    end
    if costly(name, a), continue; end
    calls = calls + 1;
    if trace
      printf('%s %d: %d outputs,', name, trial, m);
      cellfun(@(v) printf(' %s %s', class(v), mat2str(size(v))), a);
      printf('\n');
      fflush(stdout);
    end
    p = attempt(name, a, m);
    if ~isempty(p)
      problems{end + 1} = sprintf('%s, call %d with %d inputs and %d outputs: %s', name, trial, numel(a), m, p);
    end
  end
end
printf('%d calls to %d plug-ins\n', calls, numel(names));
if ~isempty(problems)
  error('%d calls broke the rule:\n%s', numel(problems), strjoin(problems, "\n"));
end
