#pragma once

// The standard scan rates of the data cards: the 65 divisors of 20 000 000 from 2 to 1 250 000,
// in ascending order. The table keeps them as 32-bit floats; they come out as ints.

inline constexpr int kStandardRateCount = 65;

int GetStandardRateCount();
// Copies the first min(*count, 65) rates and sets *count to the number copied; a count of 0 or
// less (or a null array or count) copies nothing and leaves the count as it is.
void GetStandardRates(int* rates, int* count);
// 1 when the rate is one of the table, else 0.
int IsStandardRate(int rate);
// Table entry i (0 .. 64) as an int.
int StandardRate(int index);
