function save_figure(h, file)
% Writes figure h to file as a PNG of 1000 x 750 pixels and closes it.
  print(h, '-dpng', '-r100', file);
  close(h);
end
