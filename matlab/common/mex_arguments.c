#include "mex_arguments.h"

bool mex_is_full_double(const mxArray *array)
{
    return mxIsDouble(array) && mxIsFull(array);
}

bool mex_is_real_full_matrix(const mxArray *array)
{
    return mex_is_full_double(array) && !mxIsComplex(array);
}

bool mex_is_real_full_vector(const mxArray *array)
{
    return mex_is_real_full_matrix(array) && (mxGetM(array) == 1 || mxGetN(array) == 1);
}

bool mex_first_value(const mxArray *array, double *value)
{
    if (!mex_is_full_double(array) || mxGetNumberOfElements(array) == 0)
        return false;
    *value = mxGetPr(array)[0];
    return true;
}

bool mex_dimensions_fit_int32(const mxArray *array)
{
    return (size_t)mxGetM(array) <= (size_t)INT32_MAX && (size_t)mxGetN(array) <= (size_t)INT32_MAX;
}

int32_t mex_truncate_to_int32(double value)
{
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return INT32_MIN;
    return (int32_t)value;
}
