% Checks of the decomposition module; every failed assertion ends Octave with an error.
rand ('state', 7);
[haar0, haar1, odd0, odd1] = wavelet_test_filters ();

% No level: a copy, whatever the dimensions; a negative count runs no level either.
X = rand (5, 7);
assert (decomp (X, haar0, haar1, 0), X);
assert (decomp (X, odd0, odd1, -2, 1), X);
assert (decomp (X, odd0, odd1, 0.9, 2), X);

% 8 x 8 halves three times to 1 x 1; a fourth level meets odd dimensions.
X = rand (8);
assert (size (decomp (X, haar0, haar1, 3)), [8 8]);
assert_mex_error (1, 'decomp', 'Even number of pixels in both dimensions required', X, haar0, haar1, 4);

% Haar: [a b c d] becomes [(a+b)/sqrt2, (c+d)/sqrt2, (a-b)/sqrt2, (c-d)/sqrt2] along rows and down columns,
% whatever the extension.
v = [3 -1 4 1.5];
for mode = [0 1 2 5 -3]
  Y = decomp ([v; v], haar0, haar1, 1, mode);
  assert (Y(1, :) / sqrt(2), [v(1)+v(2), v(3)+v(4), v(1)-v(2), v(3)-v(4)] / sqrt(2), 1e-14);
  assert (Y(2, :), zeros (1, 4), 1e-14);
  X = rand (6, 4);
  assert (decomp (X, haar0, haar1, 1, mode), haar_matrix (6) * X * haar_matrix (4).', 1e-14);
end

% Every mode against the model in signal coordinates, for the odd pair, a 9/7-tap odd pair (highpass window
% one sample later), a longer even pair and the Haar pair, over several levels.
h9 = rand (1, 5); h9 = [h9 fliplr(h9(1:4))];
h7 = rand (1, 4); h7 = [h7 fliplr(h7(1:3))];
e6 = rand (1, 3); e6 = [e6 fliplr(e6)];
a6 = rand (1, 3); a6 = [a6 -fliplr(a6)];
pairs = {odd0, odd1; h9, h7; h7, h9; e6, a6; haar0, haar1; e6, haar1; haar0, a6};
for p = 1:rows (pairs)
  for mode = [0 1 2]
    X = rand (32, 24);
    assert (decomp (X, pairs{p, 1}, pairs{p, 2}, 2, mode), ...
            decomp_reference (X, pairs{p, 1}, pairs{p, 2}, 2, mode), 1e-12);
  end
end

% Any mode other than 1 and 2 pads with zeros.
X = rand (16, 8);
zero_padded = decomp (X, h9, h7, 2, 0);
assert (decomp (X, h9, h7, 2, 5), zero_padded);
assert (decomp (X, h9, h7, 2, -1), zero_padded);
assert (any (abs (decomp (X, h9, h7, 2, 1)(:) - zero_padded(:)) > 1e-6));

% Only the first half of each filter is read: the rest is taken as the mirror image.
assert (decomp (X, [odd0(1:3) 99 99], [odd1(1:2) 99], 2, 1), decomp (X, odd0, odd1, 2, 1));

% Filters as columns work as rows do; fractional modes truncate.
assert (decomp (X, odd0.', odd1.', 2, 1.7), decomp (X, odd0, odd1, 2, 1));

% Empty and degenerate inputs.
assert (decomp (zeros (0, 0), odd0, odd1, 1e9), zeros (0, 0));
assert (decomp (zeros (0, 4), haar0, haar1, 2), zeros (0, 4));
assert_mex_error (1, 'decomp', 'Even number of pixels in both dimensions required', zeros (0, 4), haar0, haar1, 3);
assert (decomp (7, haar0, haar1, 0), 7);
assert_mex_error (1, 'decomp', 'Even number of pixels in both dimensions required', 7, haar0, haar1, 1);
assert (decomp (X, zeros (1, 0), zeros (1, 0), 1), zeros (16, 8));
assert (decomp (X, odd0, odd1, NaN), X);

% Failures, in the order they are checked.
assert_mex_error (1, 'decomp', 'Not enough input arguments!', X, odd0, odd1);
assert_mex_error (1, 'decomp', 'X must be a real, full matrix !', X + 1i, odd0, odd1, 1);
assert_mex_error (1, 'decomp', 'X must be a real, full matrix !', sparse (X), odd0, odd1, 1);
assert_mex_error (1, 'decomp', 'X must be a real, full matrix !', single (X), odd0, odd1, 1);
assert_mex_error (1, 'decomp', 'X must be a real, full matrix !', 'text', 1, 1, 1);
assert_mex_error (1, 'decomp', 'H0 must be a real, full vector !', X, [odd0; odd0], odd1, 1);
assert_mex_error (1, 'decomp', 'H0 must be a real, full vector !', X, int8 (odd0), odd1, 1);
assert_mex_error (1, 'decomp', 'H1 must be a real, full vector !', X, odd0, odd1 * 1i, 1);
assert_mex_error (1, 'decomp', 'H1 must be a real, full vector !', X, odd0, {odd1}, 1);
assert_mex_error (1, 'decomp', 'Both H0 and H1 must have even, or odd length,respectivly!', X, odd0, haar1, 1);
assert_mex_error (1, 'decomp', 'L must be a real number !', X, odd0, odd1, []);
assert_mex_error (1, 'decomp', 'L must be a real number !', X, odd0, odd1, 'a');
assert_mex_error (1, 'decomp', 'mode must be a real number !', X, odd0, odd1, 1, zeros (1, 0));
assert_mex_error (1, 'decomp', 'Even number of pixels in both dimensions required', rand (6, 4), odd0, odd1, 2, 1);
