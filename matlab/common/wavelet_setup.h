/* What the decomposition and reconstruction modules share: their module-wide sizes, the window geometry
 * derived from the filter lengths, the extension modes and the checks of their call. */
#ifndef VIDMETRA_WAVELET_SETUP_H
#define VIDMETRA_WAVELET_SETUP_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#include "mex_compat.h"

/* Defined by each module: rows, columns, filter lengths and level count of the running call. */
extern int32_t mmax, nmax, h0len, h1len, lmax;

enum wavelet_extension { WAVELET_SYMMETRIC = 1, WAVELET_PERIODIC = 2 };

typedef struct {
    int32_t c; /* half the length difference of the two filters, truncated toward zero */
    int32_t n; /* samples of extension on each side of a signal */
    int32_t o; /* 1 for odd-length filters, 0 for even ones */
} wavelet_geometry;

wavelet_geometry wavelet_geometry_of(int32_t low_length, int32_t high_length);

/* The signals of one filtering pass inside the column-major mmax x nmax matrix: direction 1 runs down
 * columns, 0 along rows; the first signal starts at row start. */
typedef struct {
    double *first;
    size_t sample_step; /* between the samples of one signal */
    size_t signal_step; /* between neighbouring signals */
} wavelet_signals;

wavelet_signals wavelet_signals_of(double *data, int start, int direction);
double *wavelet_signal(const wavelet_signals *signals, int index);

/* The i386 build sums in the x87 extended format; SPARC has no fast one and sums in double. */
#if defined(__sparc)
typedef double wavelet_sum;
#else
typedef long double wavelet_sum;
#endif

/* Checks the call's arguments in order and sets the module-wide state. On failure the host's error call
 * has been made and false is returned. */
bool wavelet_setup(int nrhs, const mxArray *prhs[], const char *matrix_message, int32_t *mode);

/* A new real mmax x nmax matrix for the result. */
mxArray *wavelet_new_result(void);

#endif
