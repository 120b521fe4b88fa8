% The calls that calls_dump recorded through the own host (the ones the
% Python tests replay through the gridmex package), made again with the
% Octave plug-ins: every call that returned gives the same output bits,
% every refusal with an identifier the same identifier.
% Run with the Octave plug-ins on the path: recorded_calls_test.m CALLS.json
1;

function c = as_cell (a)  % jsondecode: a struct array when the fields agree, [] when empty
  if (isstruct (a))
    c = num2cell (a);
  elseif (iscell (a))
    c = a;
  else
    c = {};
  end
end

function b = bytes_of (hex)
  b = uint8 (sscanf (hex, "%2x"))';
end

function v = decoded (a)
  stored = a.class;
  if (strcmp (stored, "logical"))
    stored = "uint8";
  elseif (strcmp (stored, "char"))
    stored = "uint16";
  end
  v = reshape (feval (a.class, typecast (bytes_of (a.re), stored)), a.dims(:)');
  if (isfield (a, "im"))  % complex last: Octave makes a complex array real on reshape when it can
    v = complex (v, reshape (typecast (bytes_of (a.im), stored), a.dims(:)'));
  end
end

calls = as_cell (jsondecode (fileread (argv (){1})));
[returned, refused] = deal (0);
for c = 1:numel (calls)
  call = calls{c};
  args = cellfun (@decoded, as_cell (call.inputs), "UniformOutput", false);
  out = cell (1, call.nout);
  if (call.ok)
    [out{:}] = feval (call.name, args{:});
    want = cellfun (@decoded, as_cell (call.outputs), "UniformOutput", false);
    same = cellfun (@(o, w) strcmp (class (o), class (w)) && isequal (size (o), size (w)) ...
                    && isequal (typecast (o(:), "uint8"), typecast (w(:), "uint8")), out(:), want(:));
    assert (all (same), "%s, recorded call %d: other outputs", call.name, c);
    returned++;
  elseif (! isempty (call.id))
    identifier = "";
    try
      [out{:}] = feval (call.name, args{:});
    catch err
      identifier = err.identifier;
    end
    assert (identifier, char (bytes_of (call.id)));
    refused++;
  end
end
printf ("%d recorded calls returned the same bits, %d refusals had the same identifier\n", returned, refused);
