% The help of every plug-in as Octave users read it: `help NAME` shows the
% companion NAME.m, whose call form, quoted messages and identifiers match
% what the plug-in really does; its example runs (the values it states are
% checked by the file's own %!test blocks); lookfor finds the plug-in by a
% word of its first line; and the companion file never shadows the compiled
% plug-in.  Plug-ins, call counts and served calls come from the table the
% build writes (plugin_table.m).
1;

function c = plugin(name, word, bad)
  % One plug-in: a word of its first help line, and calls (lists of
  % inputs) that the plug-in refuses.
  c = struct('name', name, 'word', word, 'bad', {bad});
end

function text = help_of(name)
  text = help(name);
  assert(~isempty(strfind(text, 'See also')), '%s: no See also line', name);
  % The self-test blocks after the help text stay out of it.
  assert(isempty(regexp(text, '^\s*!', 'lineanchors', 'once')), '%s: the help shows its %%! blocks', name);
end

% Some call form in the help text takes nin inputs and gives nout outputs.
function check_call_form(name, text, nin, nout)
  forms = regexp(text, ['(\[[\w, ]*\]|\w+)\s*=\s*' name '\(([\w, ]*)\)'], 'tokens');
  for k = 1:numel(forms)
    outs = numel(strsplit(regexprep(forms{k}{1}, '[\[\]]', ''), ','));
    ins = numel(strsplit(forms{k}{2}, ','));
    if outs == nout && ins == nin
      return;
    end
  end
  error('%s: the help shows no call form with %d inputs and %d outputs', name, nin, nout);
end

% A refused call: its identifier, or else its message in double quotes,
% stands in the help text.
function check_documented_error(name, text, call)
  try
    evalc('call();');   % matInvert6 prints a singular matrix
  catch err
    if strncmp(err.identifier, [name ':'], numel(name) + 1)
      assert(~isempty(strfind(text, err.identifier)), ...
             '%s: the help does not name %s', name, err.identifier);
    else
      message = regexprep(err.message, ['^' name ': '], '');
      assert(~isempty(strfind(text, ['"' message '"'])), ...
             '%s: the help does not quote "%s"', name, message);
    end
    return;
  end
  error('%s: the call was expected to fail', name);
end

function call_without_output(name, args)
  feval(name, args{:});
end

function call_with_outputs(name, args, nout)
  out = cell(1, nout);
  [out{:}] = feval(name, args{:});
end

% The lines after "Example:" up to the first blank line, run in a
% workspace of their own.
function run_example(name, text)
  block = regexp(text, 'Example:\s*\n(.*?)(\n\s*\n|$)', 'tokens', 'once');
  assert(~isempty(block), '%s: the help has no example', name);
  try
    evalc(block{1});
  catch err
    error('%s: the help example fails: %s', name, err.message);
  end
end

I = 10 * (1:6)' + (1:6);              % I(r, c) = 10 r + c
Isq = (1:6)'.^2 + zeros(1, 6);        % I(r, c) = r^2
mask = true(6);
mask(3, 2) = false;
[i5, j5, k5] = ndgrid(1:5, 1:5, 1:5);
V = 100 * i5 + 10 * j5 + k5;
[i3, j3, k3] = ndgrid(1:3, 1:3, 1:3);
V3 = 100 * i3 + 10 * j3 + k3;
[xc, yc] = ndgrid(-20:20);
circle = hypot(xc, yc) - 10;
[x8, y8] = ndgrid(1:8, 1:6);
ramp = x8 - 3.5;
side = 0.5 * (x8 <= 3) - 0.5 * (x8 >= 4);
K = magic(6) + 6 * eye(6);
unit_cube = {[0 1 1 0 0 1 1 0], [0 0 1 1 0 0 1 1], [0 0 0 0 1 1 1 1]};

plugins = {
  plugin('pxBilinSample', 'bilinear', ...
         {{single(2), 3, I}, {[2 3], 3, I}})
  plugin('pxBilinSampleClamp', 'fixed value', ...
         {{2, 3, ones(2)}, {2, 3, int8(I)}})
  plugin('pxBilinSampleHold', 'extrapolated', ...
         {{[2 3], 3, I}, {2, 3, ones(3, 2)}})
  plugin('pxCellSlope', 'image gradient', ...
         {{2, 3, int8(Isq)}, {[2 3], 3, Isq}})
  plugin('pxCellSlopeMasked', 'inside a mask', ...
         {{2, 3, Isq, single(mask)}, {2, 3, Isq, mask(1:5, :)}, ...
                           {2, 3, complex(Isq), mask}})
  plugin('pxCubicSample', 'spline interpolation of an image', ...
         {{2, 3, single(I)}, {[2 3], [], I}})
  plugin('pxCubicSlope', 'spline image gradient', ...
         {{[2 3], 3, I}, {2, 3, sparse(I)}})
  plugin('vxTrilinSample', 'trilinear', ...
         {{2, 3, 3, int32(V)}, {[2 3], [3 3], 3, V}})
  plugin('vxCellSlope', 'volume gradient', ...
         {{[2 3], 3, [3 3], V}, {2, 3, 3, single(V)}})
  plugin('vxCubicSample', 'spline interpolation of a volume', ...
         {{2, 3, [], V}, {2, 3, 3, uint8(V)}})
  plugin('vxCubicSlope', 'spline volume gradient', ...
         {{2, 3, 3, single(V)}, {[2 3], 3, 3, V}})
  plugin('feShapeValues2', 'quadrangle', ...
         {{4, [0; 1], 0}, {4, 0, single(0)}})
  plugin('feShapeValues3', 'hexahedron', ...
         {{8, single(0), 0, 0}, {8, [0; 1], [0; 1], 0}})
  plugin('feQuadPixels', 'integration points', ...
         {{4, [0 1 1], [0 0 1 1], 0.5, 0.5}, {3, [0 1 0], [0 0 1], [0.5; 0.5], 0.5}, ...
          {3, [0 1 0], [0 0 1], single(0.5), 0.5}})
  plugin('feQuadVoxels', 'integration points', ...
         {[{8}, unit_cube, {[0.5; 0.75], 0.5, [0.5; 0.5]}], {6, 0, 0, 0, 0.5, 0.5, 0.5}, ...
          [{8}, unit_cube, {0.5, 0.5, int32(0)}]})
  plugin('slopeBasis2', 'times the image gradient', ...
         {{ones(4, 5), ones(5, 1), 2}, {ones(4, 5), ones(20, 1), 0.5}, ...
                                      {ones(1, 5), ones(5, 1)}, {ones(4, 5), ones(20, 1), []}, ...
                                      {single(ones(4, 5)), ones(20, 1)}})
  plugin('slopeBasis3', 'times the volume gradient', ...
         {{ones(3, 3), ones(9, 1)}, {ones(3, 1, 3), ones(9, 1)}, ...
                                       {V3, ones(7, 1), 2}, {V3, ones(27, 1), NaN}})
  plugin('slopeBasis3p', 'listed voxels', ...
         {{V, ones(8, 1), int32([0; 5]), int32(1), int32(1)}, {V, ones(8, 1)}, ...
          {V, ones(8, 1), [0; 4], int32(1), int32(1)}, {V, ones(1, 1), int32([0; 4]), int32(1), int32(1)}})
  plugin('lvsRedistance', 'signed distance', ...
         {{ramp, 0, 2}, {ramp, 1, Inf}, {ramp, 1, []}, {ramp(1, :), 1, 2}, {ramp, {1}, 2}})
  plugin('lvsRedistance0', 'redistancing step', ...
         {{ramp(1, :), 1, 0.5}, {ramp, NaN, 0.5}, {ramp, 1, zeros(0, 1)}})
  plugin('lvsAdvance', 'normal speed', ...
         {{ramp, ones(8, 5), 1, 0.5}, {ramp, ones(8, 6), -1, 0.5}})
  plugin('lvsOrthogonalise', 'right angles', ...
         {{x8 + y8, ramp, [], 0.5}, {x8 + y8, ramp(:, 1:5), 1, 0.5}, {1:8, ramp, 1, 0.5}})
  plugin('lvsExtendField', 'extend a field', ...
         {{x8 + y8, single(ramp), 1, 0.5}, {x8 + y8, ramp, 1, []}, {(1:8)', ramp, 1, 0.5}})
  plugin('pxGrayStats', 'deviation of an image', ...
         {{{1}}, {sparse(1)}})
  plugin('vxGrayStats', 'deviation of a volume', ...
         {{complex(1, 1)}, {'text'}})
  plugin('fdSlope', 'derivative', ...
         {{1:5}, {single((1:5)')}})
  plugin('matInvert6', 'inverses', ...
         {{single(K(:))}, {K}, {K(:), K(:)}, {zeros(36, 1)}})
};
table = plugin_table();
names = cellfun(@(c) c.name, plugins, 'UniformOutput', false);
assert(isequal(sort(names(:)'), sort({table.name})), 'the plug-ins here are not those of the build');

for n = 1:numel(plugins)
  p = plugins{n};
  name = p.name;
  row = table(strcmp({table.name}, name));
  served = row.served{1};

  % The compiled plug-in answers the call, the help file sits beside it.
  [folder, ~, ext] = fileparts(which(name));
  assert(strcmp(ext, '.mex') && exist(name) == 3, '%s: which finds %s', name, which(name));
  assert(exist(fullfile(folder, [name '.m']), 'file') == 2, '%s: no help file beside it', name);

  % The help text: call form, messages, identifiers, a running example.
  text = help_of(name);
  % The shortest served call: the fewest inputs a working call takes
  % (beyond the count check's minimum, as for slopeBasis3p).
  check_call_form(name, text, min(cellfun(@(c) numel(c.args), row.served)), row.nout);
  check_documented_error(name, text, @() feval(name));
  check_documented_error(name, text, @() call_without_output(name, served.args));
  for b = 1:numel(p.bad)
    check_documented_error(name, text, @() call_with_outputs(name, p.bad{b}, row.nout));
  end
  run_example(name, text);

  % lookfor searches the first help sentence: the H1 line "NAME  Purpose."
  % alone.
  [found, first] = lookfor(p.word);
  hit = strcmp(found, name);
  assert(any(hit), '%s: lookfor ''%s'' misses it', name, p.word);
  assert(~isempty(regexp(first{hit}, ['^ ' upper(name) '  [A-Z][^\n]*\.$'], 'once')), ...
         '%s: the first help sentence is not one H1 line: %s', name, first{hit});
end

disp('help_test passed');
