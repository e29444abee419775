function H = haar_matrix (n)
  % One Haar analysis step on n samples as a matrix: pair sums in the first half, pair differences in the
  % second, both divided by sqrt(2).
  H = [kron(eye(n/2), [1 1]); kron(eye(n/2), [1 -1])] / sqrt(2);
end
