% Every plug-in that reads an image or a volume, called in Octave with it in
% each class, gives the bits of the same call with double(I), on one thread
% and on two; complex, sparse, char, cell, struct and function-handle
% images are refused with the plug-in's identifier.
1;
function A = sample(cls, dims)
  % Random elements of class cls with the class's extremes among them.
  n = prod(dims);
  switch cls
    case 'logical'
      A = rand(dims) > 0.5;
      return;
    case 'double'
      A = 200 * rand(dims) - 100;
      special = [NaN Inf -Inf -0 realmin / 4];
    case 'single'
      A = single(2000 * rand(dims) - 1000);
      special = single([NaN Inf -Inf -0 realmin('single') / 4 realmax('single') -realmax('single')]);
    otherwise
      lo = double(intmin(cls));
      hi = double(intmax(cls));
      A = cast(lo + (hi - lo) * rand(dims), cls);
      special = [intmin(cls) intmax(cls) cast(0, cls)];
  end
  at = randperm(n, min(n, 3 * numel(special)));
  A(at) = special(mod(0:numel(at) - 1, numel(special)) + 1);
end

function c = coordinates(extent, n)
  % Over the axis and two samples beyond, with NaN, infinities and the
  % bounds of every range rule among them.
  c = (extent + 4) * rand(1, n) - 2;
  special = [NaN Inf -Inf 0 1 1.5 2 3 extent - 3 extent - 2 extent - 1 extent extent + 1 3e9];
  c(1:numel(special)) = special;
end

function same = same_bits(a, b)
  same = isequal(size(a), size(b)) && isequal(typecast(a(:), 'uint64'), typecast(b(:), 'uint64'));
end

function check_classes(name, nout, args, at, half_zero)
  % args{at} is the double array whose classes are tried; with half_zero,
  % about half its elements are 0, as in a mask.
  classes = {'double', 'single', 'int8', 'uint8', 'int16', 'uint16', 'int32', 'uint32', ...
             'int64', 'uint64', 'logical'};
  dims = size(args{at});
  for c = 1:numel(classes)
    native = sample(classes{c}, dims);
    if nargin > 4
      native(rand(dims) > 0.5) = 0;
    end
    twin = args;
    twin{at} = double(native);
    given = args;
    given{at} = native;
    reference = cell(1, nout);
    [reference{:}] = feval(name, twin{:});
    for threads = {'1', '2'}
      setenv('GRIDMEX_THREADS', threads{1});
      out = cell(1, nout);
      [out{:}] = feval(name, given{:});
      for o = 1:nout
        assert(same_bits(out{o}, reference{o}), '%s: output %d differs for a %s input %d on %s threads', ...
               name, o, classes{c}, at, threads{1});
      end
    end
    unsetenv('GRIDMEX_THREADS');
  end
end

function check_refused(name, nout, args, at, reason)
  refused = {complex(args{at}), 'abc', {args{at}}, struct('a', 1), @sin};
  if ndims(args{at}) == 2
    refused{end + 1} = sparse(args{at});
  end
  for r = 1:numel(refused)
    given = args;
    given{at} = refused{r};
    out = cell(1, nout);
    try
      [out{:}] = feval(name, given{:});
      error('%s: a %s input %d was accepted', name, class(refused{r}), at);
    catch err
      assert(err.identifier, [name ':' reason]);
      assert(~isempty(strfind(err.message, 'uint16, int32, uint32')), '%s: %s', name, err.message);
    end
  end
end

rand('seed', 1);
n = 70001;
M = 23; N = 19; P = 11;
X = coordinates(M, n); Y = coordinates(N, n);
x = coordinates(M, n); y = coordinates(N, n); z = coordinates(P, n);
I = zeros(M, N); V = zeros(M, N, P);
mask = double(rand(M, N) > 0.5);
calls = {
  'pxBilinSample', 1, {X, Y, I}
  'pxBilinSampleClamp', 1, {X, Y, I}
  'pxBilinSampleHold', 1, {X, Y, I}
  'pxCellSlope', 2, {X, Y, I}
  'pxCellSlopeMasked', 2, {X, Y, I, mask}
  'pxCubicSample', 1, {X, Y, I}
  'pxCubicSlope', 2, {X, Y, I}
  'vxTrilinSample', 1, {x, y, z, V}
  'vxCellSlope', 3, {x, y, z, V}
  'vxCubicSample', 1, {x, y, z, V}
  'vxCubicSlope', 3, {x, y, z, V}
  'slopeBasis2', 1, {zeros(300, 200), rand(300 * 200, 3), 1}
  'slopeBasis3', 1, {zeros(40, 30, 20), rand(40 * 30 * 20, 3)}
  'slopeBasis3p', 1, {V, rand(12, 2), int32([0; 22; 5]), int32([18; 0]), int32([0; 10])}
  'fdSlope', 1, {zeros(37, 3000)}
  'pxGrayStats', 2, {I}
  'vxGrayStats', 2, {V}
};
image = [3 3 3 3 3 3 3 4 4 4 4 1 1 1 1 1 1];
for k = 1:rows(calls)
  [name, nout, args] = calls{k, :};
  check_classes(name, nout, args, image(k));
  check_refused(name, nout, args, image(k), 'notRealNumeric');
end
% The mask in every class, over a uint16 image; and refused as the image is.
check_classes('pxCellSlopeMasked', 2, {X, Y, sample('uint16', [M N]), mask}, 4, true);
check_refused('pxCellSlopeMasked', 2, {X, Y, I, mask}, 4, 'maskClass');
