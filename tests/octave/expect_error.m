function expect_error(f, text)
% EXPECT_ERROR  Calls f() with one output and checks that it fails with the
% message `text` (as Octave shows it, the plug-in's name first).
  try
    v = f(); %#ok<NASGU>
  catch err
    assert(err.message, text);
    return;
  end
  error('expected the error "%s"', text);
end
