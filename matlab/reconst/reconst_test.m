% Checks of the reconstruction module; every failed assertion ends Octave with an error.
rand ('state', 11);
[haar0, haar1, odd0, odd1] = wavelet_test_filters ();

% No level: a copy; a negative count runs no level either.
DX = rand (5, 7);
assert (reconst (DX, haar0, haar1, 0), DX);
assert (reconst (DX, odd0, odd1, -3, 1), DX);

% Synthesis with the Haar pair uses G0 = [1 1]/sqrt2, G1 = [-1 1]/sqrt2: the transpose of the analysis step.
for mode = [0 1 2 5]
  DX = rand (6, 4);
  assert (reconst (DX, haar0, haar1, 1, mode), haar_matrix (6).' * DX * haar_matrix (4), 1e-14);
end

% Perfect reconstruction with symmetric and periodic extension, several sizes and level counts. The
% symmetric extension mirrors inside the signal, so every band filtered by the odd pair keeps at least 4
% samples; the Haar pair needs no extension and goes down to 1 x 1.
round_trip = @(X, h0, h1, levels, mode) reconst (decomp (X, h0, h1, levels, mode), h0, h1, levels, mode);
shapes = [8 8 2; 16 12 2; 32 24 3; 4 4 1; 64 8 2; 12 40 2; 64 64 4];
for mode = [1 2]
  for s = 1:rows (shapes)
    X = rand (shapes(s, 1), shapes(s, 2));
    assert (round_trip (X, haar0, haar1, shapes(s, 3), mode), X, 1e-10);
    assert (round_trip (X, odd0, odd1, shapes(s, 3), mode), X, 1e-10);
  end
  X = rand (8);
  assert (round_trip (X, haar0, haar1, 3, mode), X, 1e-10);
  X = rand (2);
  assert (round_trip (X, haar0, haar1, 1, mode), X, 1e-10);
end

% Zero padding: the Haar pair never looks past an edge; the odd pair is exact away from the edges.
X = rand (32, 24);
assert (reconst (decomp (X, haar0, haar1, 3, 0), haar0, haar1, 3, 0), X, 1e-10);
Y = reconst (decomp (X, odd0, odd1, 1, 0), odd0, odd1, 1, 0);
assert (Y(4:end-3, 4:end-3), X(4:end-3, 4:end-3), 1e-10);
assert (max (abs (Y(:) - X(:))) > 1e-3);

% Dimensions that are not multiples of 2^L: only the part the integer divisions reach is rebuilt.
DX = rand (6, 6);
Y = reconst (DX, haar0, haar1, 2, 1);
assert (Y(5:6, :), DX(5:6, :));
assert (Y(:, 5:6), DX(:, 5:6));
assert (Y(1:4, 1:4), reconst (DX(1:4, 1:4), haar0, haar1, 2, 1), 1e-15);

% Level counts beyond the matrix, empty and degenerate inputs.
DX = rand (8, 8);
assert (reconst (DX, haar0, haar1, 40), DX);
assert (reconst (DX, haar0, haar1, NaN), DX);
assert (reconst (zeros (0, 0), odd0, odd1, 3), zeros (0, 0));
assert (reconst (7, odd0, odd1, 1, 1), 7);
assert (reconst (DX, zeros (1, 0), zeros (1, 0), 1, 1), zeros (8, 8));

% Failures, in the order they are checked.
assert_mex_error (1, 'reconst', 'Not enough input arguments!', DX, odd0, odd1);
assert_mex_error (1, 'reconst', 'DX must be a real, full matrix !', DX * 1i, odd0, odd1, 1);
assert_mex_error (1, 'reconst', 'DX must be a real, full matrix !', sparse (DX), odd0, odd1, 1);
assert_mex_error (1, 'reconst', 'DX must be a real, full matrix !', int16 (DX), odd0, odd1, 1);
assert_mex_error (1, 'reconst', 'H0 must be a real, full vector !', DX, [odd0; odd0], odd1, 1);
assert_mex_error (1, 'reconst', 'H1 must be a real, full vector !', DX, odd0, sparse (odd1), 1);
assert_mex_error (1, 'reconst', 'Both H0 and H1 must have even, or odd length,respectivly!', DX, haar0, odd1, 1);
assert_mex_error (1, 'reconst', 'L must be a real number !', DX, odd0, odd1, {});
assert_mex_error (1, 'reconst', 'mode must be a real number !', DX, odd0, odd1, 1, true);
