% Checks of the minimum spanning tree module; every failed assertion ends Octave with an error.
rand ('state', 3);
X = 10000;

% A tree: 1-2 (1) and 2-3 (2), the first node from the column of the accepted entry.
A = [X 1 3; 1 X 2; 3 2 X];
[E, W] = calcmex (A);
assert (E, [1 2; 2 3]);
assert (W, 3);
assert (calcmex (A), E);

% No edge below the limit: nothing accepted.
[E, W] = calcmex ([X 10001; 20000 X]);
assert (E, zeros (2, 1));
assert (W, 0);

% Two groups without edges between them: a forest, the unused column stays 0.
A = X * ones (4);
A(1, 2) = 5; A(2, 1) = 5;
A(3, 4) = 2; A(4, 3) = 2;
[E, W] = calcmex (A);
assert (E, [3 1 0; 4 2 0]);
assert (W, 7);

% Ties keep the column-major scan order; self-loops and the second copy of an edge never join anything.
[E, W] = calcmex (ones (3));
assert (E, [1 1; 2 3]);
assert (W, 2);
A = [X 4 X; X X X; 4 4 X];
[E, W] = calcmex (A);
assert (E, [1 2; 3 1]);
assert (W, 8);

% A full matrix with a diagonal below the limit has M^2 qualifying entries.
A = rand (12);
[E, W] = calcmex (A);
assert (size (E), [2 11]);
assert (all (E(:) >= 1 & E(:) <= 12));
assert (W, sum (A(sub2ind ([12 12], E(2, :), E(1, :)))), 1e-12);

% Random graphs: the accepted edges come in ascending weight and weigh as much as a brute-force minimum
% spanning forest.
for trial = 1:25
  n = 6;
  A = round (rand (n) * 20) + 1;
  A(rand (n) < 0.4) = X;
  A = triu (A, 1) + triu (A, 1).';
  A(1:n+1:end) = X;
  A(A == 0) = X;
  [E, W] = calcmex (A);
  accepted = E(:, E(1, :) > 0);
  weights = A(sub2ind (size (A), accepted(2, :), accepted(1, :)));
  assert (issorted (weights));
  assert (W, sum (weights));
  assert (W, minimum_forest_weight (A));
end

% NaN weights are never below the limit; 1 x 1 and empty inputs have no edge.
[E, W] = calcmex ([X NaN 1; NaN X NaN; 1 NaN X]);
assert (E, [1 0; 3 0]);
assert (W, 1);
[E, W] = calcmex (0);
assert (size (E), [2 0]);
assert (W, 0);
[E, W] = calcmex ([]);
assert (size (E), [2 0]);
assert (W, 0);

% Failures.
assert_mex_error (1, 'calcmex', 'One input argument required.');
assert_mex_error (3, 'calcmex', 'Too many output arguments.', ones (3));
assert_mex_error (2, 'calcmex', 'Input must be a full matrix of type double.', int32 (ones (3)));
assert_mex_error (2, 'calcmex', 'Input must be a full matrix of type double.', sparse (ones (3)));
assert_mex_error (2, 'calcmex', 'Input matrix must be square.', ones (3, 4));
assert_mex_error (2, 'calcmex', 'Input matrix must be square.', ones (4, 3));
