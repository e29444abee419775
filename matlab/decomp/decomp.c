/* Multi-level separable 2-D wavelet decomposition (Mallat's pyramid) with symmetric analysis filters.
 * Y = decomp(X, H0, H1, L [, mode]); mode 1 extends signals symmetrically, 2 periodically, others with zeros. */
#include <stddef.h>
#include <string.h>

#include "mex_compat.h"
#include "wavelet_setup.h"

int32_t mmax, nmax, h0len, h1len, lmax;

void decomp(double *data, const double *h0, const double *h1, int mode, int length, int count, int start,
            int direction);
void dec2d(double *y, const double *x, const double *h0, const double *h1, int mode);

static void extend(double *buffer, int length, wavelet_geometry g, int mode)
{
    const int n = g.n;
    if (mode == WAVELET_SYMMETRIC) {
        for (int k = 0; k < n; ++k)
            buffer[k] = buffer[g.o + 2 * n - 1 - k];
        for (int t = 0; t < n; ++t)
            buffer[length + 2 * n - 1 - t] = buffer[length - g.o + t];
    } else if (mode == WAVELET_PERIODIC) {
        for (int k = 0; k < n; ++k)
            buffer[k] = buffer[length + k];
        for (int t = 0; t < n; ++t)
            buffer[length + n + t] = buffer[n + t];
    }
    /* Zero padding: the extension places were zeroed when the buffer was allocated and are never written. */
}

/* Odd filters are whole-sample symmetric: pairs around a centre tap. */
static double odd_tap_sum(const double *window, const double *h, int len)
{
    const int half = len / 2;
    wavelet_sum sum = 0;
    for (int q = 0; q < half; ++q)
        sum += (wavelet_sum)h[q] * ((wavelet_sum)window[q] + window[len - 1 - q]);
    sum += (wavelet_sum)h[half] * window[half];
    return (double)sum;
}

/* Even filters are symmetric (sign +1) or antisymmetric (sign -1) around their middle. */
static double even_tap_sum(const double *window, const double *h, int len, int sign)
{
    wavelet_sum sum = 0;
    for (int q = 0; q < len / 2; ++q)
        sum += (wavelet_sum)h[q] * ((wavelet_sum)window[q] + sign * (wavelet_sum)window[len - 1 - q]);
    return (double)sum;
}

void decomp(double *data, const double *h0, const double *h1, int mode, int length, int count, int start,
            int direction)
{
    if (length <= 0 || count <= 0)
        return;
    const wavelet_geometry g = wavelet_geometry_of(h0len, h1len);
    const wavelet_signals signals = wavelet_signals_of(data, start, direction);
    const size_t step = signals.sample_step;
    const int low_start = g.c < 1 ? 1 - g.c - g.o : 1 - g.o;
    const int high_start = g.c < 1 ? 1 : g.c + 1;
    const int half = length / 2;
    double *buffer = mxCalloc((size_t)length + 2 * (size_t)g.n, sizeof(double));

    for (int s = 0; s < count; ++s) {
        double *signal = wavelet_signal(&signals, s);
        for (int i = 0; i < length; ++i)
            buffer[g.n + i] = signal[(size_t)i * step];
        extend(buffer, length, g, mode);
        for (int t = 0; t < half; ++t) {
            const double *low_window = buffer + low_start + 2 * t;
            const double *high_window = buffer + high_start + 2 * t;
            double low;
            double high;
            if (g.o) {
                low = odd_tap_sum(low_window, h0, h0len);
                high = odd_tap_sum(high_window, h1, h1len);
            } else {
                low = even_tap_sum(low_window, h0, h0len, 1);
                high = even_tap_sum(high_window, h1, h1len, -1);
            }
            signal[(size_t)t * step] = low;
            signal[(size_t)(half + t) * step] = high;
        }
    }
    mxFree(buffer);
}

void dec2d(double *y, const double *x, const double *h0, const double *h1, int mode)
{
    const size_t elements = (size_t)mmax * (size_t)nmax;
    if (elements > 0)
        memcpy(y, x, elements * sizeof(double));
    int rows = mmax;
    int cols = nmax;
    for (int level = 0; level < lmax; ++level) {
        if (rows % 2 != 0 || cols % 2 != 0) {
            mexErrMsgTxt("Even number of pixels in both dimensions required");
            return;
        }
        if (rows == 0 && cols == 0)
            return; /* every further level would leave the empty band as it is */
        decomp(y, h0, h1, mode, rows, cols, 0, 1);
        rows /= 2;
        decomp(y, h0, h1, mode, cols, rows, 0, 0);
        decomp(y, h0, h1, mode, cols, rows, rows, 0);
        cols /= 2;
    }
}

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    (void)nlhs;
    int32_t mode = 0;
    if (!wavelet_setup(nrhs, prhs, "X must be a real, full matrix !", &mode))
        return;
    plhs[0] = wavelet_new_result();
    dec2d(mxGetPr(plhs[0]), mxGetPr(prhs[0]), mxGetPr(prhs[1]), mxGetPr(prhs[2]), mode);
}
