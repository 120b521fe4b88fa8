% The Octave package round trip in a private prefix: install the tarball
% (which compiles every plug-in), load it, call a plug-in, read its help,
% run its self-tests and the installation check, uninstall.  Expects the
% variable `tarball`.
prefix = tempname();
mkdir(prefix);
pkg('prefix', prefix, prefix);
pkg('local_list', fullfile(prefix, 'octave_packages'));
pkg('install', '-nodeps', tarball);
pkg('load', 'gridmex');

names = {};
index = fileread(fullfile(prefix, 'gridmex-1.0.0', 'packinfo', 'INDEX'));
for line = strsplit(index, "\n")
  if numel(line{1}) > 1 && line{1}(1) == ' ' && ~strcmp(strtrim(line{1}), 'gridmex_test')
    names{end + 1} = strtrim(line{1}); %#ok<AGROW>
  end
end
assert(numel(names) > 0);
for k = 1:numel(names)
  assert(exist(names{k}), 3, sprintf('%s is not an installed plug-in', names{k}));
  text = help(names{k});
  assert(~isempty(strfind(text, names{k})), sprintf('%s has no help', names{k}));
  % The installed help file carries the self-tests, and they pass.
  assert(test(names{k}, 'quiet', stdout), sprintf('%s fails its self-tests', names{k}));
end
assert(pxBilinSample(2.5, 2.5, magic(4)), 8.5);
assert(gridmex_test(), 'gridmex_test fails in the installed package');

pkg('unload', 'gridmex');
pkg('uninstall', 'gridmex');
assert(exist('pxBilinSample') == 0);
confirm_recursive_rmdir(false, 'local');
rmdir(prefix, 's');
disp('package_test passed');
