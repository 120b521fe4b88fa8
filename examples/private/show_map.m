function show_map(rows, cols, values, axis_names, heading, bar_label)
% Draws values (one per grid point of rows x cols) as an image in the
% current axes, rows downwards, with axis labels, a title and a colour bar
% labelled with the quantity and its unit.
  imagesc(cols, rows, values);
  axis image;
  xlabel(axis_names{2});
  ylabel(axis_names{1});
  title(heading);
  bar = colorbar;
  ylabel(bar, bar_label);
end
