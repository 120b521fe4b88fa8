% The sampling plug-ins called from Octave on the points and the image or
% volume that gridmex_bench wrote, one timed call each on 1 and 2 threads
% after a warm-up call, and one call on 16 points (best of 1000) for the
% call overhead.  Prints "WHO NAME SET THREADS<TAB>seconds".
% Run by gridmex_bench with octave-cli, the Octave plug-ins on the path:
%   octave_plugins.m DIR SIDE2 ROWS2 COUNT2 SIDE3 ROWS3 COUNT3 WHO
1;

function a = doubles_from (path, dims)
  fid = fopen (path, "r");
  a = reshape (fread (fid, Inf, "double=>double"), dims);
  fclose (fid);
end

function time_call (who, name, outputs, inputs, set)
  out = cell (1, outputs);
  for threads = 1:2
    setenv ("GRIDMEX_THREADS", num2str (threads));
    [out{:}] = feval (name, inputs{:});
    out = cell (1, outputs);  % the release of the outputs is not timed
    tic;
    [out{:}] = feval (name, inputs{:});
    s = toc;
    out = cell (1, outputs);
    printf ("%s %s %s %d\t%.6g\n", who, name, set, threads, s);
    fflush (stdout);
  end
end

args = argv ();
dir = args{1};
n = cellfun (@str2double, args(2:7));
[side2, rows2, count2, side3, rows3, count3] = deal (n(1), n(2), n(3), n(4), n(5), n(6));
who = args{8};

I = doubles_from ([dir "/image.f64"], [side2 side2]);
for set = {"coherent", "random"}
  shape = [rows2, count2 / rows2];
  X = doubles_from ([dir "/" set{1} "2_x.f64"], shape);
  Y = doubles_from ([dir "/" set{1} "2_y.f64"], shape);
  for p = {"pxBilinSample", 1; "pxBilinSampleClamp", 1; "pxBilinSampleHold", 1; "pxCellSlope", 2; "pxCubicSample", 1}'
    time_call (who, p{1}, p{2}, {X, Y, I}, set{1});
  end
end
% The call overhead: one call on 16 points, best of 1000.
x16 = X(1:16)';
y16 = Y(1:16)';
for threads = 1:2
  setenv ("GRIDMEX_THREADS", num2str (threads));
  best = Inf;
  for k = 1:1000
    tic;
    v = pxBilinSample (x16, y16, I);
    best = min (best, toc);
  end
  printf ("%s pxBilinSample small16 %d\t%.6g\n", who, threads, best);
  fflush (stdout);
end
clear I X Y;

V = doubles_from ([dir "/volume.f64"], [side3 side3 side3]);
for set = {"coherent", "random"}
  shape = [rows3, count3 / rows3];
  X = doubles_from ([dir "/" set{1} "3_x.f64"], shape);
  Y = doubles_from ([dir "/" set{1} "3_y.f64"], shape);
  Z = doubles_from ([dir "/" set{1} "3_z.f64"], shape);
  for p = {"vxTrilinSample", "vxCubicSample"}
    time_call (who, p{1}, 1, {X, Y, Z, V}, set{1});
  end
end
