/* Argument checks and conversions shared by the extension modules. */
#ifndef VIDMETRA_MEX_ARGUMENTS_H
#define VIDMETRA_MEX_ARGUMENTS_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#include "mex_compat.h"

/* Full (not sparse) storage of doubles: the only layout whose data can be read through mxGetPr. */
bool mex_is_full_double(const mxArray *array);

/* A full double matrix without an imaginary part. */
bool mex_is_real_full_matrix(const mxArray *array);

/* A real full matrix with one of its dimensions 1 (the empty 1 x 0 included). */
bool mex_is_real_full_vector(const mxArray *array);

/* The first value of a full double array with at least one element (the real part of a complex one). */
bool mex_first_value(const mxArray *array, double *value);

/* Both dimensions fit the 32-bit sizes the modules compute with. */
bool mex_dimensions_fit_int32(const mxArray *array);

/* Truncation toward zero as the x86 conversion instruction does it: NaN and values outside the
 * 32-bit range give INT32_MIN instead of undefined behaviour. */
int32_t mex_truncate_to_int32(double value);

#endif
