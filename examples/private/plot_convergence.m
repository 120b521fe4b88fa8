function plot_convergence(file, histories, names, unit)
% Writes the convergence of successive Gauss-Newton passes to file: the rms
% residual and the largest nodal update per iteration, on log scales, the
% passes numbered along one iteration axis.  Each history has the rows
% [iteration, rms residual, largest update]; unit is the update's unit.
  h = demo_figure(lines(numel(histories)));
  styles = {'o-', 's-', 'd-', '^-'};
  labels = {'rms residual [grey levels]', ['largest update max |\DeltaU| [' unit ']']};
  headings = {'Grey-level residual per iteration', 'Nodal update per iteration'};
  for c = 1:2
    subplot(1, 2, c);
    first = 0;
    for k = 1:numel(histories)
      history = histories{k};
      semilogy(first + history(:, 1), history(:, c + 1), styles{k}, 'LineWidth', 1.5, 'MarkerSize', 7);
      hold on;
      first = first + size(history, 1);
    end
    hold off;
    grid on;
    set(gca, 'GridLineStyle', ':');
    xlim([0, first + 1]);
    xlabel('Gauss-Newton iteration');
    ylabel(labels{c});
    title(headings{c});
    legend(names, 'Location', 'northeast');
  end
  save_figure(h, file);
end
