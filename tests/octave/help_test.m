% The help of every plug-in as Octave users read it: `help NAME` shows the
% companion NAME.m, whose call form, quoted messages and identifiers match
% what the plug-in really does; its example runs and gives the values it
% states; lookfor finds the plug-in by a word of its first line; and the
% companion file never shadows the compiled plug-in.
1;

function c = plugin(name, args, expected, word, bad)
  % One plug-in: a call with the help example's inputs, the outputs the
  % help states for it, a word of its first help line, and calls (lists
  % of inputs) that the plug-in refuses.
  c = struct('name', name, 'args', {args}, 'expected', {expected}, ...
             'word', word, 'bad', {bad});
end

function text = help_of(name)
  text = help(name);
  assert(~isempty(strfind(text, 'See also')), '%s: no See also line', name);
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
  plugin('pxBilinSample', {[2.5 3 1.5], [4 5.5 3], I}, {[29 35.5 -13]}, 'bilinear', ...
         {{single(2), 3, I}, {[2 3], 3, I}})
  plugin('pxBilinSampleClamp', {[1.5 2.5 9], [3 3 3], I}, {[28 28 53]}, 'fixed value', ...
         {{2, 3, ones(2)}, {2, 3, {I}}})
  plugin('pxBilinSampleHold', {[0.5 5.5 7], [3 3 3], I}, {[8 58 73]}, 'extrapolated', ...
         {{[2 3], 3, I}, {2, 3, ones(3, 2)}})
  plugin('pxCellSlope', {[1 3.7 6.9 7], [2 2 2 2], Isq}, {[3 6 11 0], [0 0 0 0]}, ...
         'image gradient', {{2, 3, 'abc'}, {[2 3], 3, Isq}})
  plugin('pxCellSlopeMasked', {[2 3 4], [2 2 2], Isq, mask}, {[3 0 9], [0 0 0]}, ...
         'inside a mask', {{2, 3, Isq, complex(mask)}, {2, 3, Isq, mask(1:5, :)}, ...
                           {2, 3, complex(Isq), mask}})
  plugin('pxCubicSample', {[2 3.5 4], [3 3 3], I}, {[23 38 -13]}, ...
         'spline interpolation of an image', {{2, 3, complex(I)}, {[2 3], [], I}})
  plugin('pxCubicSlope', {[2 2.5 3], 2.5 * [1 1 1], I}, {[10 10 0], [1 1 0]}, ...
         'spline image gradient', {{[2 3], 3, I}, {2, 3, sparse(I)}})
  plugin('vxTrilinSample', {[2.5 4.5 1.5], [3 3 3], [2 2 2], V}, {[282 482 0]}, ...
         'trilinear', {{2, 3, 3, complex(V)}, {[2 3], [3 3], 3, V}})
  plugin('vxCellSlope', {[1 3.5 5.9 6], [2 2 2 2], [5 5 5 5], i5.^2 + 10 * j5 + k5}, ...
         {[3 6 9 0], [10 10 10 0], [1 1 1 0]}, 'volume gradient', ...
         {{[2 3], 3, [3 3], V}, {2, 3, 3, {V}}})
  plugin('vxCubicSample', {[2 3.5 4], [3 3 3], [2 2 2], V}, {[232 382 0]}, ...
         'spline interpolation of a volume', {{2, 3, [], V}, {2, 3, 3, struct('v', V)}})
  plugin('vxCubicSlope', {[2 3.5 4], [3 3 3], [2 2 2], V}, ...
         {[100 100 0], [10 10 0], [1 1 0]}, 'spline volume gradient', ...
         {{2, 3, 3, @sin}, {[2 3], 3, 3, V}})
  plugin('feShapeValues2', {4, [0; 1; 2], [0; 1; 2]}, ...
         {[0.25 0.25 0.25 0.25; 0 0 1 0; 0.25 -0.75 2.25 -0.75]}, 'quadrangle', ...
         {{4, [0; 1], 0}, {4, 0, single(0)}})
  plugin('feShapeValues3', {8, [0; 1], [0; 1], [0; 1]}, ...
         {[0.125 * ones(1, 8); 0 0 0 0 0 0 1 0]}, 'hexahedron', ...
         {{8, single(0), 0, 0}, {8, [0; 1], [0; 1], 0}})
  plugin('feQuadPixels', {4, [0 1 1 0], [0 0 1 1], [0.5; 0.75; 1.5], [0.5; 0.25; 0.5]}, ...
         {[0; 0.5; 0], [0; -0.5; 0], [1; 1; 0]}, 'integration points', ...
         {{4, [0 1 1], [0 0 1 1], 0.5, 0.5}, {3, [0 1 0], [0 0 1], [0.5; 0.5], 0.5}, ...
          {3, [0 1 0], [0 0 1], single(0.5), 0.5}})
  plugin('feQuadVoxels', [{8}, unit_cube, {[0.5; 0.75; 1.5], [0.5; 0.25; 0.5], [0.5; 0.5; 0.5]}], ...
         {[0; 0.5; 0], [0; -0.5; 0], [0; 0; 0], [1; 1; 0]}, 'integration points', ...
         {[{8}, unit_cube, {[0.5; 0.75], 0.5, [0.5; 0.5]}], {6, 0, 0, 0, 0.5, 0.5, 0.5}, ...
          [{8}, unit_cube, {0.5, 0.5, int32(0)}]})
  plugin('slopeBasis2', {10 * (1:4)' + (1:5), ones(6, 2), 2}, {repmat([10 10 1 1], 6, 1)}, ...
         'times the image gradient', {{ones(4, 5), ones(5, 1), 2}, {ones(4, 5), ones(20, 1), 0.5}, ...
                                      {ones(1, 5), ones(5, 1)}, {ones(4, 5), ones(20, 1), []}, ...
                                      {complex(ones(4, 5)), ones(20, 1)}})
  plugin('slopeBasis3', {V3, ones(27, 1)}, {repmat([100 10 1], 27, 1)}, ...
         'times the volume gradient', {{ones(3, 3), ones(9, 1)}, {ones(3, 1, 3), ones(9, 1)}, ...
                                       {V3, ones(7, 1), 2}, {V3, ones(27, 1), NaN}})
  plugin('slopeBasis3p', {V, ones(8, 1), int32([0; 4]), int32([1; 2]), int32([2; 3])}, ...
         {repmat([100 10 1], 8, 1)}, 'listed voxels', ...
         {{V, ones(8, 1), int32([0; 5]), int32(1), int32(1)}, {V, ones(8, 1)}, ...
          {V, ones(8, 1), [0; 4], int32(1), int32(1)}, {V, ones(1, 1), int32([0; 4]), int32(1), int32(1)}})
  plugin('lvsRedistance', {ramp, 1, 2}, {ramp}, 'signed distance', ...
         {{ramp, 0, 2}, {ramp, 1, Inf}, {ramp, 1, []}, {ramp(1, :), 1, 2}, {ramp, single(1), 2}})
  plugin('lvsRedistance0', {ramp, 1, 0.5}, {ramp}, 'redistancing step', ...
         {{ramp(1, :), 1, 0.5}, {ramp, NaN, 0.5}, {ramp, 1, zeros(0, 1)}})
  plugin('lvsAdvance', {ramp, ones(8, 6), 1, 0.5}, {ramp - 0.5}, 'normal speed', ...
         {{ramp, ones(8, 5), 1, 0.5}, {ramp, ones(8, 6), -1, 0.5}})
  plugin('lvsOrthogonalise', {x8 + y8, ramp, 1, 0.5}, {x8 + y8 + side}, 'right angles', ...
         {{x8 + y8, ramp, [], 0.5}, {x8 + y8, ramp(:, 1:5), 1, 0.5}, {1:8, ramp, 1, 0.5}})
  plugin('lvsExtendField', {x8 + y8, ramp, 1, 0.5}, {x8 + y8 + side}, 'extend a field', ...
         {{x8 + y8, single(ramp), 1, 0.5}, {x8 + y8, ramp, 1, []}, {(1:8)', ramp, 1, 0.5}})
  plugin('pxGrayStats', {[1 2; 3 4]}, {2.5, sqrt(5 / 3)}, 'deviation of an image', ...
         {{{1}}, {sparse(1)}})
  plugin('vxGrayStats', {int32(reshape(1:24, 2, 3, 4))}, {12.5, sqrt(50)}, ...
         'deviation of a volume', {{complex(1, 1)}, {'text'}})
  plugin('fdSlope', {(1:5)'.^2}, {[3; 4; 6; 8; 9]}, 'derivative', {{1:5}, {complex((1:5)')}})
  plugin('matInvert6', {K(:)}, {reshape(inv(K), 36, 1)}, 'inverses', ...
         {{single(K(:))}, {K}, {K(:), K(:)}, {zeros(36, 1)}})
};
assert(numel(plugins), 27);

for n = 1:numel(plugins)
  p = plugins{n};
  name = p.name;

  % The compiled plug-in answers the call, the help file sits beside it.
  [folder, ~, ext] = fileparts(which(name));
  assert(strcmp(ext, '.mex') && exist(name) == 3, '%s: which finds %s', name, which(name));
  assert(exist(fullfile(folder, [name '.m']), 'file') == 2, '%s: no help file beside it', name);
  out = cell(1, numel(p.expected));
  [out{:}] = feval(name, p.args{:});
  for k = 1:numel(out)
    assert(out{k}, p.expected{k}, 1e-9);
  end

  % The help text: call form, messages, identifiers, a running example.
  text = help_of(name);
  check_call_form(name, text, numel(p.args), numel(p.expected));
  check_documented_error(name, text, @() feval(name));
  check_documented_error(name, text, @() call_without_output(name, p.args));
  for b = 1:numel(p.bad)
    check_documented_error(name, text, @() call_with_outputs(name, p.bad{b}, numel(p.expected)));
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

% Claims of the level-set examples beyond a single documented value.
phi0 = (xc.^2 + yc.^2) / 100 - 1;
phi = lvsRedistance(phi0, 1, 10);
[gx, gy] = gradient(phi);
band = abs(circle) < 3;
assert(max(abs(hypot(gx(band), gy(band)) - 1)) < 0.02);
stepped = phi0;
for step = 1:21
  stepped = lvsRedistance0(stepped, 1, 0.5);
end
assert(isequal(stepped, phi));
grown = lvsAdvance(circle, ones(41), 1, 0.5);
assert(grown(31, 21), -0.5);
assert(all(grown(circle == 0) < 0));

disp('help_test passed');
