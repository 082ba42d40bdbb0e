#pragma once

namespace report {

// Pages are measured in millimetres and drawn in hundredths of a point, so a
// font of N points is exactly 100 N units high and every device scales alike.
inline constexpr double kMmPerInch = 25.4;
inline constexpr double kUnitsPerInch = 7200.0;
inline constexpr double kUnitsPerPoint = 100.0;
inline constexpr double kMmPerUnit = kMmPerInch / kUnitsPerInch;
inline constexpr double kUnitsPerMm = kUnitsPerInch / kMmPerInch;
inline constexpr double kMmPerPoint = kMmPerInch / 72.0;

// Positions closer than this are equal (rounding of sums of advances).
inline constexpr double kEpsilonMm = 1e-6;

}  // namespace report
