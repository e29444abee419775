/* Misfit of a point configuration against target squared distances, and its gradient.
 * [G, S] = gradmex(X, I, J, D): points are the columns of X; pair k joins points I(k) and J(k) with target
 * squared distance D(k). S = sum of r_k^2 with r_k = |x_I(k) - x_J(k)|^2 - D(k); column i of G is the sum of
 * r_k (x_i - x_J(k)) over the pairs whose first point is i (one quarter of the gradient of S, each pair
 * counted for its first point). I must be grouped by first point. */
#include <stdbool.h>
#include <stddef.h>

#include "mex_arguments.h"
#include "mex_compat.h"

const char *mexVersion(void)
{
    return "MATLAB R14 native";
}

static bool fail(const char *message)
{
    mexErrMsgTxt(message);
    return false;
}

/* Point numbers are truncated; NaN compares false and so is out of range as well. */
static bool points_in_range(const double *points, size_t count, size_t n)
{
    for (size_t k = 0; k < count; ++k)
        if (!(points[k] >= 1.0 && points[k] < (double)n + 1.0))
            return false;
    return true;
}

static bool arguments_valid(int nlhs, int nrhs, const mxArray *prhs[])
{
    if (nrhs != 4)
        return fail("Four input arguments required.");
    if (nlhs > 2)
        return fail("Too many output arguments.");
    if (!mxIsDouble(prhs[0]))
        return fail("Input array must be of type double.");
    if (!mxIsFull(prhs[0]))
        return fail("Input array must be full.");
    if (!mex_is_full_double(prhs[1]) || !mex_is_full_double(prhs[2]) || !mex_is_full_double(prhs[3]))
        return fail("I, J and D must be full arrays of type double.");
    const size_t pairs = mxGetNumberOfElements(prhs[3]);
    if (mxGetNumberOfElements(prhs[1]) < pairs || mxGetNumberOfElements(prhs[2]) < pairs)
        return fail("I and J need a point number for every element of D.");
    const size_t n = mxGetN(prhs[0]);
    if (!points_in_range(mxGetPr(prhs[1]), pairs, n) || !points_in_range(mxGetPr(prhs[2]), pairs, n))
        return fail("Point numbers must lie between 1 and the number of columns of X.");
    return true;
}

static double squared_distance(const double *a, const double *b, size_t m)
{
    double sum = 0.0;
    for (size_t c = 0; c < m; ++c) {
        const double d = a[c] - b[c];
        sum += d * d;
    }
    return sum;
}

/* Column i of G for a finished run of pairs: s x_i - a with s the summed residuals, a the weighted partners. */
static void close_group(double *g_column, const double *x_point, double residual_sum, double *partners, size_t m)
{
    for (size_t c = 0; c < m; ++c) {
        g_column[c] = residual_sum * x_point[c] - partners[c];
        partners[c] = 0.0;
    }
}

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    if (!arguments_valid(nlhs, nrhs, prhs))
        return;
    const size_t m = mxGetM(prhs[0]);
    const size_t n = mxGetN(prhs[0]);
    const double *x = mxGetPr(prhs[0]);
    const double *first = mxGetPr(prhs[1]);
    const double *second = mxGetPr(prhs[2]);
    const double *target = mxGetPr(prhs[3]);
    const size_t pairs = mxGetNumberOfElements(prhs[3]);

    plhs[0] = mxCreateDoubleMatrix(m, n, mxREAL);
    double *g = mxGetPr(plhs[0]);
    double *partners = mxCalloc(m > 0 ? m : 1, sizeof(double));
    double misfit = 0.0;
    double residual_sum = 0.0;
    size_t group = 0;
    for (size_t k = 0; k < pairs; ++k) {
        const size_t i = (size_t)first[k] - 1;
        const size_t j = (size_t)second[k] - 1;
        if (k > 0 && i != group) {
            close_group(g + group * m, x + group * m, residual_sum, partners, m);
            residual_sum = 0.0;
        }
        group = i;
        const double r = squared_distance(x + i * m, x + j * m, m) - target[k];
        misfit += r * r;
        residual_sum += r;
        for (size_t c = 0; c < m; ++c)
            partners[c] += r * x[j * m + c];
    }
    if (pairs > 0)
        close_group(g + group * m, x + group * m, residual_sum, partners, m);
    mxFree(partners);

    /* The host provides room for a second output only when the caller asks for it. */
    if (nlhs >= 2) {
        plhs[1] = mxCreateDoubleMatrix(1, 1, mxREAL);
        *mxGetPr(plhs[1]) = misfit;
    }
}
