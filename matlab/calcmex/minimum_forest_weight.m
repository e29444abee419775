function best = minimum_forest_weight (A)
  % Weight of a minimum spanning forest by trying every set of edges: among the acyclic sets with the most
  % edges (a spanning forest), the lightest. Entries of 10000 or more are missing edges; A is symmetric.
  n = rows (A);
  [r, k] = find (triu (A < 10000, 1));
  edges = [r k];
  weights = A(sub2ind (size (A), r, k));
  most = -1;
  best = Inf;
  for subset = 0:2^numel (weights) - 1
    chosen = logical (bitget (subset, 1:numel (weights)));
    if (! acyclic (edges(chosen, :), n))
      continue;
    end
    count = nnz (chosen);
    total = sum (weights(chosen));
    if (count > most || (count == most && total < best))
      most = count;
      best = total;
    end
  end
end

function ok = acyclic (edges, n)
  label = 1:n;
  ok = true;
  for e = 1:rows (edges)
    a = label(edges(e, 1));
    b = label(edges(e, 2));
    if (a == b)
      ok = false;
      return;
    end
    label(label == b) = a;
  end
end
