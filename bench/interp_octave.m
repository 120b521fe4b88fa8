% gridInterp2 and gridInterp3 against Octave's interp2 and interp3 on the
% same points: a 1024 x 1024 double image and a 128^3 double volume, one
% million points each, coherent (a 1000 x 1000 grid one sample apart, or
% 100^3, displaced by a smooth sub-sample field) and random (uniform over
% the grid); linear and nearest; the plug-ins on 1 and 2 threads.  Each
% time is the best of three calls after a warm-up call (Octave's own
% functions: the best of two).  Prints CSV rows in the columns of
% bench/README.md.  Run by bench/run with the Octave plug-ins on the path.
1;

function s = best (f, calls)
  f ();
  s = Inf;
  for k = 1:calls
    tic;  f ();  s = min (s, toc);
  end
end

function row (workload, n, ours, peer, label)
  % ours: seconds on 1 and 2 threads; peer: Octave's seconds (one thread).
  m = n / 1e6;
  printf ("interp,octave,%s,points,%d,%.6g,%.6g,%.4g,%.4g,,,,,%s,%s,%.4g,,%.3g,%.3g,\n", workload, n, ours(1), ...
          ours(2), m / ours(1), m / ours(2), label, label, m / peer, peer / ours(1), peer / ours(2));
  fflush (stdout);
end

rand ("seed", 1);
side = 1024;  I = rand (side) * 255;
[cx, cy] = meshgrid (linspace (12, side - 12, 1000));
shift = @(a, b) 0.7 * sin (a / 37) .* cos (b / 53);
sets2 = {"coherent", cx + shift(cx, cy), cy + shift(cy, cx); ...
         "random", 1 + rand(1000) * (side - 1), 1 + rand(1000) * (side - 1)};
vside = 128;  V = rand (vside, vside, vside) * 255;
[vx, vy, vz] = meshgrid (linspace (10, vside - 10, 100));
sets3 = {"coherent", vx + shift(vx, vy), vy + shift(vy, vz), vz + shift(vz, vx); ...
         "random", 1 + rand(100, 100, 100) * (vside - 1), 1 + rand(100, 100, 100) * (vside - 1), ...
         1 + rand(100, 100, 100) * (vside - 1)};

for s = 1:2
  [name, X, Y] = sets2{s, :};
  for method = {"linear", "nearest"}
    peer = best (@() interp2 (I, X, Y, method{1}), 2);
    ours = zeros (1, 2);
    for threads = 1:2
      setenv ("GRIDMEX_THREADS", num2str (threads));
      ours(threads) = best (@() gridInterp2 (I, X, Y, method{1}), 3);
    end
    row (sprintf ("gridInterp2 %s %s", method{1}, name), numel (X), ours, peer, ["interp2 " method{1}]);
  end
end
for s = 1:2
  [name, X, Y, Z] = sets3{s, :};
  for method = {"linear", "nearest"}
    peer = best (@() interp3 (V, X, Y, Z, method{1}), 2);
    ours = zeros (1, 2);
    for threads = 1:2
      setenv ("GRIDMEX_THREADS", num2str (threads));
      ours(threads) = best (@() gridInterp3 (V, X, Y, Z, method{1}), 3);
    end
    row (sprintf ("gridInterp3 %s %s", method{1}, name), numel (X), ours, peer, ["interp3 " method{1}]);
  end
end
setenv ("GRIDMEX_THREADS", "");
