#pragma once

// Speed of sound in sea water (m/s) from temperature (degrees Celsius),
// salinity (ppt) and depth (m), and the checks of the calculator's inputs.

// True where the nine-term equation applies: S >= 30, T < 30 and D > 1000.
// Any NaN selects the simpler equation.
bool UsesNineTermEquation(double temperature, double salinity, double depth);

double NineTermSpeedOfSound(double temperature, double salinity, double depth);
double SimpleSpeedOfSound(double temperature, double salinity, double depth);

// The equation chosen by UsesNineTermEquation.
double ComputeSpeedOfSound(double temperature, double salinity, double depth);

// Rounds half away from zero to n decimals; n < 0 leaves x unchanged.
// Computed in double, so huge values and NaN stay out of range instead of
// wrapping into it.
double RoundToDecimals(double x, int n);

// Inclusive ranges; NaN is never valid.
bool IsValidTemperature(double degreesCelsius);
bool IsValidSalinity(double ppt);
bool IsValidDepth(double metres);
bool IsValidReference(double metresPerSecond);
