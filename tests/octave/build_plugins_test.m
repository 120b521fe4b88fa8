% The in-host build: build_plugins compiles every plug-in with Octave's own
% mex command into one folder, and names the failing source when one breaks.
1;
root = fileparts(fileparts(fileparts(mfilename('fullpath'))));
addpath(root);
out = tempname();
log = evalc('build_plugins(out)');
sources = [];
for line = strsplit(fileread(fullfile(root, 'domains.txt')), "\n")
  domain = regexp(line{1}, '^[a-z]+', 'match', 'once');
  if ~isempty(domain)
    sources = [sources; dir(fullfile(root, domain, '*.cpp'))]; %#ok<AGROW>
  end
end
assert(numel(sources) > 0);
assert(numel(dir(fullfile(out, '*.mex'))), numel(sources));
assert(numel(strfind(log, sprintf('/%d] ', numel(sources)))), numel(sources));

% The fresh build is the one called, and it computes.
addpath(out);
assert(strncmp(which('pxBilinSample'), out, numel(out)));
assert(pxBilinSample(2.5, 2.5, magic(4)), 8.5);
rmpath(out);
confirm_recursive_rmdir(false, 'local');
rmdir(out, 's');

% A broken source stops the build with its name and path in the message.
fake = tempname();
mkdir(fullfile(fake, 'pixel'));
copyfile(fullfile(root, 'build_plugins.m'), fake);
copyfile(fullfile(root, 'domains.txt'), fake);
fid = fopen(fullfile(fake, 'pixel', 'brokenPlugin.cpp'), 'w');
fprintf(fid, 'this is not C++\n');
fclose(fid);
addpath(fake);
try
  evalc('build_plugins(fullfile(fake, ''out''))');
  error('a broken source was built');
catch err
  assert(err.identifier, 'build_plugins:compileFailed');
  assert(~isempty(strfind(err.message, 'brokenPlugin failed to compile')));
  assert(~isempty(strfind(err.message, fullfile(fake, 'pixel', 'brokenPlugin.cpp'))));
end
rmpath(fake);
rmdir(fake, 's');
disp('build_plugins_test passed');
