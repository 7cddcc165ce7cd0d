// The dimmer's 16-bit temperature scale and whole degrees Celsius, both ways.
#pragma once

// Raw readings above this carry no valid temperature.
constexpr int TEMP_RAW_MAX = 0x300;

// The scale's formula, in floating point.
inline double TempRawOfCelsius(double celsius) {
    return (1000 + 3.85 * celsius) * 1024 / (2000 + 3.85 * celsius);
}

// Truncated toward zero. For an integer T the denominator never reaches 0, and the result stays
// within about ±560,000.
inline int CelsiusToTempRaw(int celsius) {
    return static_cast<int>(TempRawOfCelsius(celsius));
}

// The smallest whole degree from -39 upward whose raw value reaches `raw`; -40 at or below the
// raw value of -40 degrees. The readings shown go up to TEMP_RAW_MAX, which 520 degrees reaches;
// the search stops there for any larger reading.
inline int TempRawToCelsius(int raw) {
    constexpr int kLowest = -40;
    constexpr int kHighest = 520;
    if (raw <= TempRawOfCelsius(kLowest)) {
        return kLowest;
    }
    int celsius = kLowest + 1;
    while (celsius < kHighest && TempRawOfCelsius(celsius) < raw) {
        ++celsius;
    }
    return celsius;
}
