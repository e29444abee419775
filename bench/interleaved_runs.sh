# Shared by the comparison scripts (sourced): timing one run and taking medians. Needs $work set.

# Prints "seconds kilobytes" of one run.
measure() { /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>&1; cat "$work/time"; }

# The median of the numbers on standard input, one per line.
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
