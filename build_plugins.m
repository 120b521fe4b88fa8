function build_plugins(outdir)
% BUILD_PLUGINS  Compile every gridmex plug-in with this host's own mex command.
%
%   build_plugins           compiles into the folder 'mex' beside this file
%   build_plugins(OUTDIR)   compiles into OUTDIR (created if needed)
%
%   Runs in MATLAB (mex, with a C++17 compiler chosen by "mex -setup C++")
%   and in GNU Octave (mkoctfile --mex).  Every .cpp file of the domain
%   folders listed in domains.txt is the entry source of one plug-in of the
%   same name.  The help file of each plug-in is copied beside it.
%   Afterwards, addpath(OUTDIR) makes the plug-ins callable.
%
%   A plug-in that fails to compile stops the build with an error naming
%   its source file and the compiler's message.
%
%   See also: addpath, mex.

  root = fileparts(mfilename('fullpath'));
  if nargin < 1
    outdir = fullfile(root, 'mex');
  end
  if ~exist(outdir, 'dir')
    mkdir(outdir);
  end

  sources = {};
  for domain = domain_folders(root)
    found = dir(fullfile(root, domain{1}, '*.cpp'));
    for k = 1:numel(found)
      sources{end + 1} = fullfile(root, domain{1}, found(k).name); %#ok<AGROW>
    end
  end
  if isempty(sources)
    error('build_plugins:noSources', 'build_plugins: no plug-in sources found under %s', root);
  end

  % Every source includes its headers by their path from this folder.
  includes = {['-I' root]};
  flags = result_flags(root);
  in_octave = exist('OCTAVE_VERSION', 'builtin') ~= 0;
  if in_octave
    % mkoctfile compiles with Octave's own flags; add the flags that keep
    % results the same as in the other builds.
    old_flags = getenv('CXXFLAGS');
    setenv('CXXFLAGS', [mkoctfile('-p', 'CXXFLAGS') ' -std=c++' flags.GRIDMEX_CXX_STANDARD ' ' ...
                        flags.GRIDMEX_GNU_FLAGS]);
    restore = onCleanup(@() setenv('CXXFLAGS', old_flags));
  else
    mex_flags = matlab_compiler_flags(flags);
  end

  n = numel(sources);
  for k = 1:n
    [folder, name] = fileparts(sources{k});
    fprintf('[%2d/%d] %s\n', k, n, name);
    try
      if in_octave
        [output, status] = mkoctfile('--mex', includes{:}, ...
                                     '-o', fullfile(outdir, [name '.mex']), sources{k});
        if status ~= 0
          error('mkoctfile exited with status %d (compiler messages above)%s', status, output);
        end
      else
        mex('-R2017b', mex_flags{:}, includes{:}, '-outdir', outdir, sources{k});
      end
    catch err
      error('build_plugins:compileFailed', 'build_plugins: %s failed to compile (%s):\n%s', ...
            name, sources{k}, err.message);
    end
    help_file = fullfile(folder, [name '.m']);
    if exist(help_file, 'file')
      copyfile(help_file, outdir);
    end
  end
  fprintf('%d plug-ins built in %s\n', n, outdir);
end

% The first word of every line of domains.txt that is not a comment.
function domains = domain_folders(root)
  domains = {};
  list = fullfile(root, 'domains.txt');
  if ~exist(list, 'file')
    return;
  end
  lines = regexp(fileread(list), '\r?\n', 'split');
  for k = 1:numel(lines)
    words = regexp(lines{k}, '^([a-z]+)\s', 'tokens', 'once');
    if ~isempty(words)
      domains{end + 1} = words{1}; %#ok<AGROW>
    end
  end
end

% The flags that decide results, as cmake/flags.mk sets them for every build:
% a struct with one text field per "NAME := value" line.
function flags = result_flags(root)
  file = fullfile(root, 'cmake', 'flags.mk');
  if ~exist(file, 'file')
    error('build_plugins:noFlags', 'build_plugins: %s is missing', file);
  end
  flags = struct();
  lines = regexp(fileread(file), '\r?\n', 'split');
  for k = 1:numel(lines)
    pair = regexp(lines{k}, '^(GRIDMEX_[A-Z_]+) :=\s*(.*?)\s*$', 'tokens', 'once');
    if ~isempty(pair)
      flags.(pair{1}) = pair{2};
    end
  end
  for name = {'GRIDMEX_CXX_STANDARD', 'GRIDMEX_GNU_FLAGS', 'GRIDMEX_MSVC_FLAGS'}
    if ~isfield(flags, name{1}) || isempty(flags.(name{1}))
      error('build_plugins:noFlags', 'build_plugins: %s does not set %s', file, name{1});
    end
  end
end

function mex_flags = matlab_compiler_flags(flags)
% The flags that decide results, and threads, in the terms of the C++ compiler
% that mex is set up with ("mex -setup C++").  Microsoft's takes them through
% COMPFLAGS; GCC (on Linux, and MinGW-w64 on Windows) through CXXFLAGS and
% LDFLAGS, with -pthread for std::thread (which older C libraries keep in a
% library of their own).  MinGW-w64 links its runtime and winpthreads
% statically, so that a .mexw64 needs no DLL of MinGW's beside it.  Apple's
% clang needs no flag for threads.
  gnu = ['-std=c++' flags.GRIDMEX_CXX_STANDARD ' ' flags.GRIDMEX_GNU_FLAGS];
  compiler = mex.getCompilerConfigurations('C++', 'Selected');
  if ~isempty(compiler) && strncmpi(compiler(1).Manufacturer, 'Microsoft', 9)
    mex_flags = {['COMPFLAGS=$COMPFLAGS /std:c++' flags.GRIDMEX_CXX_STANDARD ' ' flags.GRIDMEX_MSVC_FLAGS]};
  elseif ismac
    mex_flags = {['CXXFLAGS=$CXXFLAGS ' gnu]};
  elseif ispc
    mex_flags = {['CXXFLAGS=$CXXFLAGS -pthread ' gnu], 'LDFLAGS=$LDFLAGS -pthread -static'};
  else
    mex_flags = {['CXXFLAGS=$CXXFLAGS -pthread ' gnu], 'LDFLAGS=$LDFLAGS -pthread'};
  end
end
