// The conversion of a computed value to a lookup-table entry, shared by every fill that computes in
// double precision (formula and gamma).
#pragma once

#include <cstdint>

// The value truncated toward zero to a 32-bit signed integer. A value that is not a number or whose
// truncation lies outside that range gives 0 (a plain cast would be undefined there): so 1/x at
// x = 1e-99 and a gamma of 0 fill with zeros instead of with whatever the processor makes of it.
inline std::int32_t TruncateToInt32(double value) {
    // Written so that NaN fails the test as well.
    if (!(value > -2147483649.0 && value < 2147483648.0)) {
        return 0;
    }
    return static_cast<std::int32_t>(value);
}
