// A lookup table: the output level of each DMX input value 0 to 255, in the range 0 to the
// output's largest value, and the curves that fill one.
#pragma once

#include "platform/os/WinTypes.h"

constexpr int TABLE_SIZE = 256;

// Entry i is i * maxValue / 255.
void FillLinear(WORD (&table)[TABLE_SIZE], WORD maxValue);
// Every entry the same level (all on: the range's top; all off: 0).
void FillLevel(WORD (&table)[TABLE_SIZE], WORD level);
// Entry i is (i^(1/gamma) * maxValue) / 255^(1/gamma), truncated; a result that is no number or
// outside 32 bits gives 0.
void FillGamma(WORD (&table)[TABLE_SIZE], WORD maxValue, double gamma);
// Each entry becomes maxValue - entry in unsigned 16-bit arithmetic: an entry above the range
// wraps, and a second inversion restores it.
void Invert(WORD (&table)[TABLE_SIZE], WORD maxValue);
