% Bad calls to every plug-in in one Octave process: a served call of each,
% then a few hundred calls with one or two things changed (output count,
% input count, an input's class, complexity, sparsity, shape or values) or
% made of random odd arrays (cells, structs, strings and function handles
% included).  Each call must end in a value or an error with a message;
% every value must be a real double array; the process must survive.
1;

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

% Calls whose documented work is too long for a sweep, by the table's cost
% rule: T / (h / 2) steps of lvsRedistance (2e4 to 2^53 of them), or
% Newton iterations for more than `limit` rows of candidate points.
function c = costly(cost, args)
  c = false;
  switch cost.rule
    case 'steps'
      if numel(args) < max(cost.a, cost.b), return; end
      h = args{cost.a};  T = args{cost.b};
      if ~(isnumeric(h) || islogical(h) || ischar(h)) || isempty(h) || ...
         ~(isnumeric(T) || islogical(T) || ischar(T)) || isempty(T)
        return;
      end
      h = double(real(h(1)));  T = double(real(T(1)));
      steps = T / (h * 0.5);
      c = h > 0 && isfinite(h) && isfinite(T) && T >= 0 && steps > 2e4 && steps < 2^53;
    case 'rows'
      c = numel(args) >= cost.a && size(args{cost.a}, 1) > cost.limit;
  end
end

% The bits of every output, NaN payloads and signed zeros included.
function b = bits(out)
  b = cellfun(@(o) typecast(double(o(:)), 'uint64'), out, 'UniformOutput', false);
end

% Scalar inputs: of any numeric, logical or char class they give the bits
% of the same value as a double; empty, cell, struct or function handle are
% refused with an identifier.
function problems = check_scalars(p, problems)
  classes = {'single', 'int8', 'uint8', 'int16', 'uint16', 'int32', 'uint32', 'int64', 'uint64', ...
             'logical', 'char'};
  refused = {{[], 'empty'}, {{1}, 'notNumeric'}, {struct('h', 1), 'notNumeric'}, {@sin, 'notNumeric'}};
  for c = 1:numel(p.served)
    call = p.served{c};
    for at = p.scalars(p.scalars <= numel(call.args))
      v = call.args{at};
      for k = 1:numel(classes)
        if strcmp(classes{k}, 'logical')
          given = v ~= 0 & ~isnan(v);
        else
          given = feval(classes{k}, v);
        end
        [ok1, out1, id1] = outcome(p.name, setarg(call.args, at, given), call.nout);
        [ok2, out2, id2] = outcome(p.name, setarg(call.args, at, double(given)), call.nout);
        if ok1 ~= ok2 || ~strcmp(id1, id2) || (ok1 && ~isequal(bits(out1), bits(out2)))
          problems{end + 1} = sprintf('%s: input %d as %s differs from the double call', p.name, at, classes{k});
        end
      end
      for k = 1:numel(refused)
        [ok, ~, id] = outcome(p.name, setarg(call.args, at, refused{k}{1}), call.nout);
        if ok || ~strncmp(id, [p.name ':' refused{k}{2}], numel(p.name) + 1 + numel(refused{k}{2}))
          problems{end + 1} = sprintf('%s: input %d as %s gave "%s"', p.name, at, class(refused{k}{1}), id);
        end
      end
    end
  end
end

function args = setarg(args, at, v)
  args{at} = v;
end

function [ok, out, id] = outcome(name, args, nout)
  out = cell(1, nout);
  id = '';
  try
    [out{:}] = feval(name, args{:});
    ok = true;
  catch err
    ok = false;
    id = err.identifier;
  end
end

% Makes the call; returns '' or what went wrong, and the identifier of its
% error if it raised one.
function [problem, id] = attempt(name, args, nout)
  problem = '';
  id = '';
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
    id = err.identifier;
    if isempty(err.message) || strcmp(strtrim(err.message), [name ':'])
      problem = 'an error without a message';
    end
  end
end

warning('off', 'all');   % the class changes warn about range errors
trace = ~isempty(getenv('GRIDMEX_FUZZ_TRACE'));   % prints each call before making it
rand('seed', 11);
table = plugin_table();
problems = {};
calls = 0;
for n = 1:numel(table)
  p = table(n);
  name = p.name;
  for c = 1:numel(p.served)   % served calls succeed
    out = cell(1, p.served{c}.nout);
    [out{:}] = feval(name, p.served{c}.args{:});
  end
  problems = check_scalars(p, problems);
  raised = {};
  for trial = 1:300
    base = p.served{randi(numel(p.served))};
    a = base.args;  m = base.nout;
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
    if costly(p.cost, a), continue; end
    calls = calls + 1;
    if trace
      printf('%s %d: %d outputs,', name, trial, m);
      cellfun(@(v) printf(' %s %s', class(v), mat2str(size(v))), a);
      printf('\n');
      fflush(stdout);
    end
    [problem, id] = attempt(name, a, m);
    if ~isempty(problem)
      problems{end + 1} = sprintf('%s, call %d with %d inputs and %d outputs: %s', name, trial, numel(a), m, problem);
    end
    if strncmp(id, [name ':'], numel(name) + 1)
      raised{end + 1} = id;
    end
  end
  % Every refusal the sweep met is named in the plug-in's help.
  text = help(name);
  for id = unique(raised)
    if isempty(strfind(text, id{1}))
      problems{end + 1} = sprintf('%s raised %s, which its help does not name', name, id{1});
    end
  end
end
printf('%d calls to %d plug-ins\n', calls, numel(table));
if ~isempty(problems)
  error('%d calls broke the rule:\n%s', numel(problems), strjoin(problems, "\n"));
end
