function draw_mesh(row_nodes, col_nodes, colour)
% Draws the lines of a structured mesh, with nodes at row_nodes down the
% rows and col_nodes along the columns, over an image in the current axes:
% one line object, its segments separated by NaN.
  row_nodes = row_nodes(:)';
  col_nodes = col_nodes(:)';
  nr = numel(row_nodes);
  nc = numel(col_nodes);
  across = [repmat(col_nodes([1, end])', 1, nr); NaN(1, nr)];   % lines along the columns
  across_rows = [row_nodes; row_nodes; NaN(1, nr)];
  down = [col_nodes; col_nodes; NaN(1, nc)];                      % lines down the rows
  down_rows = [repmat(row_nodes([1, end])', 1, nc); NaN(1, nc)];
  hold on;
  plot([across(:); down(:)], [across_rows(:); down_rows(:)], '-', 'Color', colour);
  hold off;
end
