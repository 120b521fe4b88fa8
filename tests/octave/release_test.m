% gridmex_test, the self-test shipped in the release folder, on the Octave
% build: argv() is the folder of gridmex_test.m, then the plug-ins the build
% adds, each of which must be found and pass.
1;
args = argv();
addpath(args{1});
names = args(2:end);
assert(numel(names) > 0, 'no plug-in named');
out = evalc('ok = gridmex_test();');
printf('%s', out);
assert(ok, 'gridmex_test returned false');
for k = 1:numel(names)
  assert(~isempty(regexp(out, ['^' names{k} ' +passed$'], 'lineanchors', 'once')), ...
         '%s did not pass', names{k});
end
assert(~isempty(regexp(out, sprintf('\n%d passed, 0 failed\n$', numel(names)), 'once')), ...
       'the last line does not count every plug-in as passed');
