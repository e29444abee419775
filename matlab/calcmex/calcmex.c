/* Minimum spanning tree (or forest) of a weighted graph by Kruskal's method.
 * [E, W] = calcmex(A): A(r, k) is the weight of the edge between nodes k and r, 10000 or more meaning no edge;
 * E is 2 x (M - 1) with the accepted edges in the order of acceptance, W their total weight. */
#include <stddef.h>

#include "mex_arguments.h"
#include "mex_compat.h"

#define NOT_JOINED 10000.0

typedef struct {
    double first;  /* node number, from the column of the entry */
    double second; /* node number, from the row of the entry */
    double weight;
} edge_record;

const char *mexVersion(void)
{
    return "MATLAB R11 native";
}

/* Every entry below the limit, in column-major order; NaN compares false and so never qualifies. */
static size_t collect_candidates(const double *a, size_t m, edge_record *records)
{
    size_t count = 0;
    for (size_t k = 0; k < m; ++k)
        for (size_t r = 0; r < m; ++r) {
            const double w = a[k * m + r];
            if (w < NOT_JOINED) {
                records[count].first = (double)(k + 1);
                records[count].second = (double)(r + 1);
                records[count].weight = w;
                ++count;
            }
        }
    return count;
}

/* Stable ascending sort by weight: equal weights keep their scan order, as an adjacent-swap sort that
 * swaps only strictly greater weights leaves them, but in O(n log n). */
static void sort_by_weight(edge_record *records, size_t count)
{
    if (count < 2)
        return;
    edge_record *scratch = mxCalloc(count, sizeof(edge_record));
    edge_record *from = records;
    edge_record *to = scratch;
    for (size_t width = 1; width < count; width *= 2) {
        for (size_t lo = 0; lo < count; lo += 2 * width) {
            const size_t mid = lo + width < count ? lo + width : count;
            const size_t hi = mid + width < count ? mid + width : count;
            size_t i = lo;
            size_t j = mid;
            for (size_t out = lo; out < hi; ++out)
                to[out] = (j >= hi || (i < mid && from[i].weight <= from[j].weight)) ? from[i++] : from[j++];
        }
        edge_record *swap = from;
        from = to;
        to = swap;
    }
    if (from != records)
        for (size_t i = 0; i < count; ++i)
            records[i] = from[i];
    mxFree(scratch);
}

/* Kruskal's acceptance with component labels: the label of every node of the higher-labelled component
 * becomes the lower label. Returns the number of accepted records, moved to the front of the list. */
static size_t accept_tree_edges(edge_record *records, size_t count, size_t m)
{
    double *label = mxCalloc(m + 1, sizeof(double));
    for (size_t node = 1; node <= m; ++node)
        label[node] = (double)node;
    size_t accepted = 0;
    for (size_t i = 0; i < count; ++i) {
        const double a = label[(size_t)records[i].first];
        const double b = label[(size_t)records[i].second];
        if (a == b)
            continue;
        records[accepted++] = records[i];
        const double lo = a < b ? a : b;
        const double hi = a < b ? b : a;
        for (size_t node = 1; node <= m; ++node)
            if (label[node] == hi)
                label[node] = lo;
    }
    mxFree(label);
    return accepted;
}

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    if (nrhs < 1) {
        mexErrMsgTxt("One input argument required.");
        return;
    }
    if (nlhs > 2) {
        mexErrMsgTxt("Too many output arguments.");
        return;
    }
    if (!mex_is_full_double(prhs[0])) {
        mexErrMsgTxt("Input must be a full matrix of type double.");
        return;
    }
    const size_t m = mxGetM(prhs[0]);
    if (mxGetN(prhs[0]) != m) {
        mexErrMsgTxt("Input matrix must be square.");
        return;
    }

    /* Room for every entry: a diagonal below the limit adds M records to the M * (M - 1) off it. */
    edge_record *records = mxCalloc(m * m > 0 ? m * m : 1, sizeof(edge_record));
    const size_t count = collect_candidates(mxGetPr(prhs[0]), m, records);
    sort_by_weight(records, count);
    const size_t accepted = accept_tree_edges(records, count, m);

    plhs[0] = mxCreateDoubleMatrix(2, m > 0 ? m - 1 : 0, mxREAL);
    double *edges = mxGetPr(plhs[0]);
    double total = 0.0;
    for (size_t t = 0; t < accepted; ++t) {
        edges[2 * t] = records[t].first;
        edges[2 * t + 1] = records[t].second;
        total += records[t].weight;
    }
    /* The host provides room for a second output only when the caller asks for it. */
    if (nlhs >= 2) {
        plhs[1] = mxCreateDoubleMatrix(1, 1, mxREAL);
        *mxGetPr(plhs[1]) = total;
    }
    mxFree(records);
}
