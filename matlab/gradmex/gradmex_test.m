% Checks of the distance-fit gradient module; every failed assertion ends Octave with an error.
rand ('state', 5);
randn ('state', 5);

% Two points (0,0) and (3,4) at squared distance 25.
X = [0 3; 0 4];
[G, S] = gradmex (X, 1, 2, 25);
assert (S, 0);
assert (G, zeros (2));
[G, S] = gradmex (X, 1, 2, 16);
assert (S, 81);
assert (G, [-27 0; -36 0]);
assert (gradmex (X, 1, 2, 16), G);

% No pair.
[G, S] = gradmex (X, [], [], []);
assert (S, 0);
assert (G, zeros (2));

% Random configurations: S is the sum of squared residuals and G a quarter of the finite-difference
% gradient of S, each pair counted for its first point only.
for trial = 1:5
  m = 3;
  n = 6;
  X = randn (m, n);
  [J, I] = meshgrid (1:n, 1:n);
  keep = I != J & rand (n) < 0.7;
  I = I.'(keep.'); J = J.'(keep.');  % grouped by first point
  D = rand (numel (I), 1) * 4;
  residuals = sum ((X(:, I) - X(:, J)).^2, 1).' - D;
  [G, S] = gradmex (X, I, J, D);
  assert (S, sum (residuals.^2), 1e-12);
  step = 1e-6;
  for p = 1:n
    mine = find (I == p);
    misfit = @(y) sum ((sum ((y - X(:, J(mine))).^2, 1).' - D(mine)).^2);
    for c = 1:m
      offset = zeros (m, 1);
      offset(c) = step;
      derivative = (misfit (X(:, p) + offset) - misfit (X(:, p) - offset)) / (2 * step);
      assert (G(c, p), derivative / 4, 1e-6 * max (1, abs (derivative)));
    end
  end
end

% A point whose pairs come in two separate runs keeps the result of its last run.
X = randn (2, 3);
I = [1 2 1];
J = [2 3 3];
D = [1 2 3];
G = gradmex (X, I, J, D);
r3 = sum ((X(:, 1) - X(:, 3)).^2) - 3;
assert (G(:, 1), r3 * (X(:, 1) - X(:, 3)), 1e-12);
assert (G(:, 3), [0; 0]);

% Point numbers are truncated; I and J may be rows or columns and longer than D.
[G, S] = gradmex ([0 3; 0 4], [1.9 2 2], [2.5; 1; 1], 16);
assert (S, 81);
assert (G, [-27 0; -36 0]);

% Failures, in the order they are checked; point numbers outside 1 ... N never index X.
X = [0 3; 0 4];
assert_mex_error (1, 'gradmex', 'Four input arguments required.', X, 1, 2);
assert_mex_error (1, 'gradmex', 'Four input arguments required.', X, 1, 2, 16, 0);
assert_mex_error (3, 'gradmex', 'Too many output arguments.', X, 1, 2, 16);
assert_mex_error (1, 'gradmex', 'Input array must be of type double.', single (X), 1, 2, 16);
assert_mex_error (1, 'gradmex', 'Input array must be of type double.', int8 (X), 1, 2, 16);
assert_mex_error (1, 'gradmex', 'Input array must be full.', sparse (X), 1, 2, 16);
assert_mex_error (1, 'gradmex', 'I, J and D must be full arrays of type double.', X, int32 (1), 2, 16);
assert_mex_error (1, 'gradmex', 'I, J and D must be full arrays of type double.', X, 1, sparse (2), 16);
assert_mex_error (1, 'gradmex', 'I, J and D must be full arrays of type double.', X, 1, 2, {16});
assert_mex_error (1, 'gradmex', 'I and J need a point number for every element of D.', X, 1, 2, [16 1]);
assert_mex_error (1, 'gradmex', 'I and J need a point number for every element of D.', X, [1 2], [], 16);
for bad = [0 3 -1 0.5 NaN Inf 1e12]
  assert_mex_error (1, 'gradmex', 'Point numbers must lie between 1 and the number of columns of X.', X, bad, 2, 16);
  assert_mex_error (1, 'gradmex', 'Point numbers must lie between 1 and the number of columns of X.', X, 1, bad, 16);
end
assert_mex_error (1, 'gradmex', 'Point numbers must lie between 1 and the number of columns of X.', zeros (2, 0), 1, 1, 0);
