#include "wavelet_setup.h"

#include "mex_arguments.h"

wavelet_geometry wavelet_geometry_of(int32_t low_length, int32_t high_length)
{
    wavelet_geometry geometry;
    geometry.c = (low_length - high_length) / 2;
    geometry.n = (geometry.c >= 1 ? low_length : high_length) / 2;
    geometry.o = low_length % 2;
    return geometry;
}

wavelet_signals wavelet_signals_of(double *data, int start, int direction)
{
    wavelet_signals signals;
    signals.first = data + start;
    signals.sample_step = direction ? 1 : (size_t)mmax;
    signals.signal_step = direction ? (size_t)mmax : 1;
    return signals;
}

double *wavelet_signal(const wavelet_signals *signals, int index)
{
    return signals->first + (size_t)index * signals->signal_step;
}

static bool fail(const char *message)
{
    mexErrMsgTxt(message);
    return false;
}

bool wavelet_setup(int nrhs, const mxArray *prhs[], const char *matrix_message, int32_t *mode)
{
    if (nrhs < 4)
        return fail("Not enough input arguments!");
    if (!mex_is_real_full_matrix(prhs[0]))
        return fail(matrix_message);
    if (!mex_is_real_full_vector(prhs[1]))
        return fail("H0 must be a real, full vector !");
    if (!mex_is_real_full_vector(prhs[2]))
        return fail("H1 must be a real, full vector !");
    if (mxGetNumberOfElements(prhs[1]) % 2 != mxGetNumberOfElements(prhs[2]) % 2)
        return fail("Both H0 and H1 must have even, or odd length,respectivly!");
    if (!mex_dimensions_fit_int32(prhs[0]) || !mex_dimensions_fit_int32(prhs[1])
        || !mex_dimensions_fit_int32(prhs[2]))
        return fail("Matrix dimensions must not exceed 2147483647 !");

    double levels = 0.0;
    if (!mex_first_value(prhs[3], &levels))
        return fail("L must be a real number !");
    double extension = 0.0;
    if (nrhs > 4 && !mex_first_value(prhs[4], &extension))
        return fail("mode must be a real number !");

    mmax = (int32_t)mxGetM(prhs[0]);
    nmax = (int32_t)mxGetN(prhs[0]);
    h0len = (int32_t)mxGetNumberOfElements(prhs[1]);
    h1len = (int32_t)mxGetNumberOfElements(prhs[2]);
    lmax = mex_truncate_to_int32(levels);
    *mode = mex_truncate_to_int32(extension);
    return true;
}

mxArray *wavelet_new_result(void)
{
#if defined(__sparc)
    return mxCreateFull(mmax, nmax, mxREAL);
#else
    return mxCreateDoubleMatrix(mmax, nmax, mxREAL);
#endif
}

#if !defined(__sparc)
const char *mexVersion(void)
{
    return "MATLAB 4 compatible";
}
#endif
