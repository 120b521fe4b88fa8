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
mkdir(fullfile(fake, 'cmake'));
copyfile(fullfile(root, 'build_plugins.m'), fake);
copyfile(fullfile(root, 'domains.txt'), fake);
copyfile(fullfile(root, 'cmake', 'flags.mk'), fullfile(fake, 'cmake'));
source = fullfile(fake, 'pixel', 'brokenPlugin.cpp');
fid = fopen(source, 'w');
fprintf(fid, 'this is not C++\n');
fclose(fid);
addpath(fake);
try
  evalc('build_plugins(fullfile(fake, ''out''))');
  error('a broken source was built');
catch err
  assert(err.identifier, 'build_plugins:compileFailed');
  assert(~isempty(strfind(err.message, 'brokenPlugin failed to compile')));
  assert(~isempty(strfind(err.message, source)));
end

% The compiler flags come from cmake/flags.mk: a valid source builds with
% them, and no longer once the file names a flag the compiler does not know.
fid = fopen(source, 'w');
fprintf(fid, '#include "mex.h"\nvoid mexFunction(int, mxArray *[], int, const mxArray *[]) {}\n');
fclose(fid);
evalc('build_plugins(fullfile(fake, ''out''))');
assert(exist(fullfile(fake, 'out', 'brokenPlugin.mex'), 'file') > 0);
flags = fileread(fullfile(fake, 'cmake', 'flags.mk'));
fid = fopen(fullfile(fake, 'cmake', 'flags.mk'), 'w');
fputs(fid, regexprep(flags, '(GRIDMEX_GNU_FLAGS :=)', '$1 -fno-such-gridmex-flag'));
fclose(fid);
try
  evalc('build_plugins(fullfile(fake, ''out''))');
  error('the flags of cmake/flags.mk were not used');
catch err
  assert(err.identifier, 'build_plugins:compileFailed');
end
delete(fullfile(fake, 'cmake', 'flags.mk'));
try
  evalc('build_plugins(fullfile(fake, ''out''))');
  error('built without cmake/flags.mk');
catch err
  assert(err.identifier, 'build_plugins:noFlags');
end
rmpath(fake);
rmdir(fake, 's');
disp('build_plugins_test passed');
