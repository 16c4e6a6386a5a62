// The units of a DC job, as the digits of its header record 00 give them,
// and the conversions the field decoding applies with them.
#ifndef DC_UNITS_H_
#define DC_UNITS_H_

namespace dc {

// A missing distance or angle. A value counts as present when it is greater
// than kPresentAbove.
inline constexpr double kMissing = -999999999.999;
inline constexpr double kPresentAbove = -9000000.0;

// Metres per US survey foot; used for both kinds of feet.
inline constexpr double kMetresPerFoot = 0.3048006096012192;
inline constexpr double kGonPerDegree = 1.1111111111111112;
inline constexpr double kGonPerMil = 0.0625;

// Digits of columns 40-44 of record 00 (see dc/fields.h, DecodeDigit).
struct Units {
  int angle = 0;        // 1 degrees, 2 gons, 3 mils
  int distance = 0;     // 1 metres, 2 feet, 3 US feet
  int pressure = 0;     // 1 mm Hg, 2 inch Hg, else millibar
  int temperature = 0;  // 2 Fahrenheit, else Celsius
  int coord_order = 0;  // 2 keeps the order of a triple, else swaps a and b
};

// A read distance in metres.
inline double DistanceToMetres(double value, int distance_unit) {
  if (distance_unit == 2 || distance_unit == 3) return value * kMetresPerFoot;
  return value;
}

// A read angle in gon.
inline double AngleToGon(double value, int angle_unit) {
  if (angle_unit == 1) return value * kGonPerDegree;
  if (angle_unit == 3) return value * kGonPerMil;
  return value;
}

// A read pressure in millibar.
inline double PressureToMillibar(double value, int pressure_unit) {
  if (pressure_unit == 1) return value * 1.3333333333333333;
  if (pressure_unit == 2) return value * 33.86666666666667;
  return value;
}

// A read temperature in degrees Celsius.
inline double TemperatureToCelsius(double value, int temperature_unit) {
  if (temperature_unit == 2) return (value - 32.0) * 0.5555555555555556;
  return value;
}

}  // namespace dc

#endif  // DC_UNITS_H_
