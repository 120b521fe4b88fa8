% The help of every plug-in as Octave users read it: `help NAME` shows the
% companion NAME.m, whose call form, quoted messages and identifiers match
% what the plug-in really does; its example runs (the values it states are
% checked by the file's own %!test blocks); lookfor finds the plug-in by a
% word of its first line; every identifier its %!error blocks expect is
% named in it; and the companion file never shadows the compiled plug-in.
% Plug-ins, call counts and served calls come from the table the build
% writes (plugin_table.m).
1;

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

table = plugin_table();
for n = 1:numel(table)
  row = table(n);
  name = row.name;
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
  if ! strcmp(row.rule, 'upTo')   % those serve a call without output (ans)
    check_documented_error(name, text, @() call_without_output(name, served.args));
  end
  file = fileread(fullfile(folder, [name '.m']));
  for id = regexp(file, '^%!error id=(\S+)', 'tokens', 'lineanchors')
    assert(~isempty(strfind(text, id{1}{1})), '%s: the help does not name %s', name, id{1}{1});
  end
  run_example(name, text);

  % lookfor searches the first help sentence: the H1 line "NAME  Purpose."
  % alone.  Its longest word finds the plug-in.
  h1 = regexp(text, ['^\s*' name '\s+([^\n]*)'], 'tokens', 'once', 'ignorecase');
  assert(~isempty(h1), '%s: no H1 line', name);
  words = regexp(h1{1}, '[a-z]+', 'match');
  [~, longest] = max(cellfun(@numel, words));
  [found, first] = lookfor(words{longest});
  hit = strcmp(found, name);
  assert(any(hit), '%s: lookfor ''%s'' misses it', name, words{longest});
  assert(~isempty(regexp(first{hit}, ['^ ' upper(name) '  [A-Z][^\n]*\.$'], 'once')), ...
         '%s: the first help sentence is not one H1 line: %s', name, first{hit});
end

disp('help_test passed');
