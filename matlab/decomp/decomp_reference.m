function Y = decomp_reference (X, h0, h1, levels, mode)
  % Straightforward model of the decomposition, written in signal coordinates: each level filters the
  % columns, then the rows, of the current top-left band with the extended signal read through an index map.
  Y = X;
  rows = rows (X);
  cols = columns (X);
  for level = 1:levels
    band = Y(1:rows, 1:cols);
    band = analyse_columns (band, h0, h1, mode);
    band = analyse_columns (band.', h0, h1, mode).';
    Y(1:rows, 1:cols) = band;
    rows /= 2;
    cols /= 2;
  end
end

function Y = analyse_columns (X, h0, h1, mode)
  l0 = numel (h0);
  l1 = numel (h1);
  c = fix ((l0 - l1) / 2);
  if (c >= 1)
    n = floor (l0 / 2);
    low_start = 1 - mod (l0, 2);
    high_start = c + 1;
  else
    n = floor (l1 / 2);
    low_start = 1 - c - mod (l0, 2);
    high_start = 1;
  end
  N = rows (X);
  Y = zeros (size (X));
  for t = 0:N/2-1
    % Window positions in signal coordinates: buffer index b holds signal sample b - n.
    low_taps = (low_start + 2 * t - n) + (0:l0-1);
    high_taps = (high_start + 2 * t - n) + (0:l1-1);
    Y(t + 1, :) = h0(:).' * extended (X, low_taps, mode, mod (l0, 2));
    Y(N/2 + t + 1, :) = h1(:).' * extended (X, high_taps, mode, mod (l0, 2));
  end
end

function V = extended (X, positions, mode, odd)
  % Rows of X at the given 0-based positions, positions outside the signal mapped by the extension.
  N = rows (X);
  V = zeros (numel (positions), columns (X));
  for k = 1:numel (positions)
    p = positions(k);
    if (p >= 0 && p < N)
      V(k, :) = X(p + 1, :);
    elseif (mode == 1)
      % Whole-sample symmetry for odd filters, half-sample symmetry for even ones.
      if (p < 0)
        q = -p - (1 - odd);
      else
        q = 2 * (N - 1) - p + (1 - odd);
      end
      V(k, :) = X(q + 1, :);
    elseif (mode == 2)
      V(k, :) = X(mod (p, N) + 1, :);
    end
  end
end
