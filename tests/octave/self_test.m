% The self-tests that each plug-in's help file carries after its help text
% (its %!test and %!error blocks), run by Octave's test for every plug-in
% named on the command line.  A plug-in without tests fails too.
1;
names = argv();
assert(numel(names) > 0, 'no plug-in named');
failed = {};
for k = 1:numel(names)
  [passed, total] = test(names{k}, 'quiet', stdout);
  if total == 0 || passed < total
    failed{end + 1} = sprintf('%s (%d of %d passed)', names{k}, passed, total); %#ok<AGROW>
  end
end
if ~isempty(failed)
  error('self-tests failed: %s', strjoin(failed, ', '));
end
printf('self-tests of %d plug-ins passed\n', numel(names));
