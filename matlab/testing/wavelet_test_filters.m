function [haar0, haar1, odd0, odd1] = wavelet_test_filters ()
  % The two perfect-reconstruction pairs the wavelet tests use: Haar (even length) and a 5/3 odd pair.
  haar0 = [1 1] / sqrt(2);
  haar1 = [1 -1] / sqrt(2);
  odd0 = [-1 2 6 2 -1] / 8;
  odd1 = [1 -2 1] / 2;
end
