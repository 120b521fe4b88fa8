function h = demo_figure(colours)
% An invisible figure with the colour map colours, written by save_figure as
% a PNG of 1000 x 750 pixels (10 x 7.5 inches at 100 dpi).  Octave without
% its graphical interface draws it with gnuplot, which needs no display.
  headless_octave = exist('OCTAVE_VERSION', 'builtin') && ~isguirunning() ...
                    && any(strcmp(available_graphics_toolkits(), 'gnuplot'));
  if headless_octave
    warning('off', 'Octave:gnuplot-graphics');
  end
  h = figure('Visible', 'off', 'Color', 'w', 'Colormap', colours, ...
             'PaperUnits', 'inches', 'PaperPosition', [0 0 10 7.5], ...
             'DefaultAxesFontSize', 12);
  if headless_octave
    graphics_toolkit(h, 'gnuplot');
  end
end
