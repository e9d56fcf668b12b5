// Edge coverage of the instrumented readers: the compiler calls
// __sanitizer_cov_trace_pc at every basic block (-fsanitize-coverage=
// trace-pc); consecutive blocks hash into a bitmap, so an input that reaches
// a new pair of blocks is worth keeping.
#pragma once

#include <cstddef>

// Forgets the blocks of the previous input.
void ResetInputCoverage();
// Adds the blocks of the input just run to the run's total; the number of
// bitmap entries it was the first to reach.
size_t MergeInputCoverage();
// Entries reached by all inputs so far.
size_t TotalCoverage();
