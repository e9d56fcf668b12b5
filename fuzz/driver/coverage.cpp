#include "fuzz/driver/coverage.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

constexpr size_t kMapSize = size_t{1} << 16;
std::array<uint8_t, kMapSize> g_input{};
std::array<uint8_t, kMapSize> g_total{};
uintptr_t g_previous = 0;
size_t g_totalCount = 0;

} // namespace

// Called by the instrumented code; this file itself is not instrumented.
extern "C" void __sanitizer_cov_trace_pc()
{
    const auto pc = reinterpret_cast<uintptr_t>(__builtin_return_address(0));
    g_input[(pc ^ g_previous) & (kMapSize - 1)] = 1;
    g_previous = pc >> 1;
}

void ResetInputCoverage()
{
    std::memset(g_input.data(), 0, g_input.size());
    g_previous = 0;
}

size_t MergeInputCoverage()
{
    size_t fresh = 0;
    for (size_t i = 0; i < kMapSize; ++i) {
        if (g_input[i] && !g_total[i]) {
            g_total[i] = 1;
            ++fresh;
        }
    }
    g_totalCount += fresh;
    return fresh;
}

size_t TotalCoverage() { return g_totalCount; }
