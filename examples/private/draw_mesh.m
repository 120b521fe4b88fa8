function draw_mesh(row_nodes, col_nodes, colour)
% Draws the lines of a structured mesh, with nodes at row_nodes down the
% rows and col_nodes along the columns, over an image in the current axes.
  row_nodes = row_nodes(:)';
  col_nodes = col_nodes(:)';
  rows = [row_nodes(1); row_nodes(end)];
  cols = [col_nodes(1); col_nodes(end)];
  hold on;
  plot([col_nodes; col_nodes], repmat(rows, 1, numel(col_nodes)), '-', 'Color', colour);
  plot(repmat(cols, 1, numel(row_nodes)), [row_nodes; row_nodes], '-', 'Color', colour);
  hold off;
end
