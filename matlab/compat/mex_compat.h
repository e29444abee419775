/* The modules are written against the MATLAB 4 extension interface. Current hosts (GNU Octave, recent MATLAB)
 * dropped some of its calls; this header supplies them from their modern equivalents when the host lacks them. */
#ifndef VIDMETRA_MEX_COMPAT_H
#define VIDMETRA_MEX_COMPAT_H

#include "mex.h"

#ifndef mxCreateFull
#define mxCreateFull mxCreateDoubleMatrix
#endif

/* MATLAB 4 knew only full and sparse storage. */
#ifndef mxIsFull
#define mxIsFull(array) (!mxIsSparse(array))
#endif

/* Hosts that check which interface a module was built for look this text up; a build that has none omits it. */
const char *mexVersion(void);

#endif
