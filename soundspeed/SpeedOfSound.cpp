#include "SpeedOfSound.h"

#include <cmath>

namespace {

bool IsWithin(double value, double minimum, double maximum)
{
    return value >= minimum && value <= maximum;
}

} // namespace

bool UsesNineTermEquation(double temperature, double salinity, double depth)
{
    return salinity >= 30.0 && temperature < 30.0 && depth > 1000.0;
}

double NineTermSpeedOfSound(double temperature, double salinity, double depth)
{
    const double t = temperature;
    const double s = salinity - 35.0;
    const double d = depth;
    return 1448.96 + 4.591 * t - 0.05304 * t * t + 0.0002374 * t * t * t + 1.34 * s
        + 0.0163 * d + 1.675e-7 * d * d - 0.01025 * t * s - 7.139e-13 * t * d * d * d;
}

double SimpleSpeedOfSound(double temperature, double salinity, double depth)
{
    const double t = temperature;
    const double s = salinity - 35.0;
    return 1449.2 + 4.6 * t - 0.055 * t * t + 0.00029 * t * t * t + (1.34 - 0.01 * t) * s
        + 0.016 * depth;
}

double ComputeSpeedOfSound(double temperature, double salinity, double depth)
{
    if (UsesNineTermEquation(temperature, salinity, depth))
        return NineTermSpeedOfSound(temperature, salinity, depth);
    return SimpleSpeedOfSound(temperature, salinity, depth);
}

double RoundToDecimals(double x, int n)
{
    if (n < 0)
        return x;
    const double factor = std::pow(10.0, n);
    const double scaled = x * factor;
    const double truncated = std::trunc(x < 0 ? scaled - 0.5 : scaled + 0.5);
    // A negative value that rounds to zero gives plain 0, never -0.
    return (truncated == 0.0 ? 0.0 : truncated) / factor;
}

bool IsValidTemperature(double degreesCelsius)
{
    return IsWithin(degreesCelsius, -5.0, 45.0);
}

bool IsValidSalinity(double ppt)
{
    return IsWithin(ppt, 0.0, 50.0);
}

bool IsValidDepth(double metres)
{
    return IsWithin(metres, 0.0, 10000.0);
}

bool IsValidReference(double metresPerSecond)
{
    return IsWithin(metresPerSecond, 1400.0, 1600.0);
}
