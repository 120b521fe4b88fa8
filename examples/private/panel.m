function ax = panel(rows, cols, k)
% Axes for panel k, counted along the rows, of a rows x cols layout that
% keeps room on the left of each panel for its axis label and on the right
% for its colour bar.
  r = ceil(k / cols);
  c = k - (r - 1) * cols;
  w = 1 / cols;
  h = 1 / rows;
  ax = axes('Position', [(c - 1 + 0.13) * w, (rows - r + 0.14) * h, 0.6 * w, 0.74 * h]);
end
