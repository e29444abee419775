/* Inverse of decomp: rebuilds a matrix from its multi-level 2-D wavelet decomposition.
 * X = reconst(DX, H0, H1, L [, mode]) with the analysis filters and extension mode given to decomp. */
#include <stddef.h>
#include <string.h>

#include "mex_compat.h"
#include "wavelet_setup.h"

int32_t mmax, nmax, h0len, h1len, lmax;

void reconst(double *data, const double *g0, const double *g1, int mode, int half, int count, int start,
             int direction);
void rec2d(double *x, const double *dx, const double *h0, const double *h1, int mode);

/* The lowpass band p and the highpass band q are extended together; size is the signal length 2K. */
static void extend(double *p, double *q, int size, wavelet_geometry g, int mode)
{
    const int n = g.n;
    if (mode == WAVELET_SYMMETRIC) {
        /* With even filters the highpass band is antisymmetric about the gap before the first sample. */
        const double high_sign = g.o ? 1.0 : -1.0;
        const int mirror = g.o ? 2 * n : 2 * n - 2;
        const int left = g.o ? n : n - 1;
        for (int k = 0; k < left; ++k) {
            p[k] = p[mirror - k];
            q[k] = high_sign * q[mirror - k];
        }
        if (!g.o && n > 0)
            p[n - 1] = q[n - 1] = 0.0;
        for (int t = 0; t < n; ++t) {
            p[size + 2 * n - 1 - t] = p[size - 1 + t];
            q[size + 2 * n - 1 - t] = high_sign * q[size - 1 + t];
        }
    } else if (mode == WAVELET_PERIODIC) {
        for (int k = 0; k < n; ++k) {
            p[k] = p[size + k];
            q[k] = q[size + k];
        }
        for (int t = 0; t < n; ++t) {
            p[size + n + t] = p[n + t];
            q[size + n + t] = q[n + t];
        }
    }
    /* Zero padding: the extension places were zeroed when the buffers were allocated and are never written. */
}

/* Adds every other tap of g, starting at tap phase, against the window to sum. */
static wavelet_sum even_taps(wavelet_sum sum, const double *window, const double *g, int len, int phase)
{
    for (int k = phase; k < len; k += 2)
        sum += (wavelet_sum)window[k] * g[k];
    return sum;
}

/* As even_taps, for a symmetric odd-length g: mirrored samples are added before the multiplication. */
static wavelet_sum odd_taps(wavelet_sum sum, const double *window, const double *g, int len, int phase)
{
    int a = phase;
    int z = len - 1 - phase;
    int k = phase;
    for (; k < len / 2; k += 2, a += 2, z -= 2)
        sum += ((wavelet_sum)window[a] + window[z]) * g[k];
    if (a == z)
        sum += (wavelet_sum)g[k] * window[a];
    return sum;
}

void reconst(double *data, const double *g0, const double *g1, int mode, int half, int count, int start,
             int direction)
{
    if (half <= 0 || count <= 0)
        return;
    const wavelet_geometry g = wavelet_geometry_of(h0len, h1len);
    const wavelet_signals signals = wavelet_signals_of(data, start, direction);
    const size_t step = signals.sample_step;
    const int size = 2 * half;
    const int low_start = g.c > 0 ? g.c : 0;
    const int high_start = g.c < 0 ? -g.c : 0;
    const int first_phase = (g.n % 2) ^ (g.o && g.c > 0);
    double *p = mxCalloc((size_t)size + 2 * (size_t)g.n, sizeof(double));
    double *q = mxCalloc((size_t)size + 2 * (size_t)g.n, sizeof(double));

    for (int s = 0; s < count; ++s) {
        double *signal = wavelet_signal(&signals, s);
        for (int k = 0; k < half; ++k) {
            p[g.n + 2 * k] = signal[(size_t)k * step];
            p[g.n + 2 * k + 1] = 0.0;
            q[g.n + 2 * k + g.o] = signal[(size_t)(half + k) * step];
            q[g.n + 2 * k + 1 - g.o] = 0.0;
        }
        extend(p, q, size, g, mode);
        int phase = first_phase;
        for (int i = 0; i < size; ++i) {
            const double *low_window = p + low_start + i;
            const double *high_window = q + high_start + i;
            wavelet_sum y;
            if (g.o)
                y = odd_taps(odd_taps(0, low_window, g0, h1len, phase), high_window, g1, h0len, phase);
            else
                y = even_taps(even_taps(0, low_window, g0, h1len, phase), high_window, g1, h0len, phase);
            signal[(size_t)i * step] = (double)y;
            phase ^= 1;
        }
    }
    mxFree(q);
    mxFree(p);
}

/* Alternating signs turn the analysis pair into the synthesis pair: G0 from H1, G1 from H0. */
static double *synthesis_filter(const double *h, int len, double first_sign)
{
    double *filter = mxCalloc(len > 0 ? (size_t)len : 1, sizeof(double));
    double sign = first_sign;
    for (int i = 0; i < len; ++i, sign = -sign)
        filter[i] = sign * h[i];
    return filter;
}

void rec2d(double *x, const double *dx, const double *h0, const double *h1, int mode)
{
    double *g0 = synthesis_filter(h1, h1len, 1.0);
    double *g1 = synthesis_filter(h0, h0len, -1.0);
    const size_t elements = (size_t)mmax * (size_t)nmax;
    if (elements > 0)
        memcpy(x, dx, elements * sizeof(double));

    /* The coarsest band is M / 2^L by N / 2^L; shifting keeps that exact for any level count. */
    int rows = lmax >= 31 ? 0 : mmax >> (lmax > 0 ? lmax : 0);
    int cols = lmax >= 31 ? 0 : nmax >> (lmax > 0 ? lmax : 0);
    for (int level = 0; level < lmax && rows > 0 && cols > 0; ++level) {
        reconst(x, g0, g1, mode, cols, rows, rows, 0);
        reconst(x, g0, g1, mode, cols, rows, 0, 0);
        cols *= 2;
        reconst(x, g0, g1, mode, rows, cols, 0, 1);
        rows *= 2;
    }
    mxFree(g1);
    mxFree(g0);
}

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    (void)nlhs;
    int32_t mode = 0;
    if (!wavelet_setup(nrhs, prhs, "DX must be a real, full matrix !", &mode))
        return;
    plhs[0] = wavelet_new_result();
    rec2d(mxGetPr(plhs[0]), mxGetPr(prhs[0]), mxGetPr(prhs[1]), mxGetPr(prhs[2]), mode);
}
