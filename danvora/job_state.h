// The job model: one set of current values that every DC record overwrites
// with the fields it carries, in file order. The field report and the export
// writers act on these values right after each record was decoded.
#ifndef DANVORA_JOB_STATE_H_
#define DANVORA_JOB_STATE_H_

#include <string>
#include <string_view>

#include "dc/fields.h"
#include "dc/units.h"

namespace danvora {

using Triple = dc::Triple;

// Coordinate-system numbers (`coord_system_type`). 0 to 17 have a name in
// the system name table; 20 and 21 are local grids.
inline constexpr int kNoCoordSystem = -255;
inline constexpr int kLocalNorthEast = 20;
inline constexpr int kLocalYX = 21;
inline constexpr int kSystemNameCount = 18;

// The name of coordinate system `type` in the system name table
// (Windows-1252), empty for numbers outside it.
std::string_view coord_system_name(int type);

// The heights a job's geoid gives (record 81 names the geoid).
enum class GeoidKind : int {
  kNone = 0,
  kDvr90 = 2,  // DVR90 heights
  kDnn = 98,   // DNN heights
};

struct HorizontalFit {  // record 50, values in column order
  double centre_second = 0, centre_first = 0;
  double translation_second = 0, translation_first = 0;
  double rotation = 0, scale = 0;
};

struct VerticalFit {  // record 81, values in column order
  int kind = 0;
  double centre_second = 0, centre_first = 0;
  double translation = 0;
  double inclination_second = 0, inclination_first = 0;
};

struct JobState {
  // Job and units.
  std::string version_text;
  std::string measurement_start;
  dc::Units units;
  std::string job_name;
  std::string note;

  // Stations, points and observations.
  std::string station_name;
  Triple station;
  double instrument_height = 0;
  std::string point_name;
  Triple point;
  std::string point_code;
  int method = 0;
  int point_class = 0;
  double horizontal_precision = 0, vertical_precision = 0;
  double slope_distance = 0, zenith_distance = 0, horizontal_direction = 0;
  double backsight_azimuth = 0, circle_reading = 0;
  double azimuth = 0, horizontal_distance = 0, height_difference = 0;

  // GPS.
  int satellites = 0;
  double hdop = 0, vdop = 0, rms = 0;
  std::string receiver_model, receiver_serial;
  std::string antenna_type;
  double antenna_radius = 0, antenna_offset = 0;
  double antenna_height = 0;
  int antenna_method = 0;
  int initialisation_result = 0, initialisation_method = 0;

  // Instrument and atmosphere.
  std::string instrument_model;
  int instrument_serial = 0;
  double k1 = 0, k2 = 0;
  double target_height = 0;
  double prism_constant = 0;  // millimetres
  double pressure = 0, temperature = 0;
  double ppm = 0;

  // Coordinate system.
  double semi_major_axis = 0;
  double central_meridian = 0;
  double scale_factor = 0;
  int axis_convention = 0;
  int projection_sign = 0;  // -1, 0, 1 or 2
  int coord_system_type = 0;
  std::string coord_system_name;  // the field's (C8) or the decided one
  bool datum_grid = false;
  HorizontalFit horizontal_fit;
  VerticalFit vertical_fit;
  std::string geoid_name;
  GeoidKind geoid_kind = GeoidKind::kNone;

  // Calibration, residuals and distance checks.
  std::string second_point_name;
  double horizontal_residual = 0;  // also the distance of a distance check
  double vertical_residual = 0;    // also its height
  double residual_3d = 0;          // also the residual distance
  Triple residual;
  double residual_angle_1 = 0, residual_angle_2 = 0;
  std::string check_point_name;
  double direction_offset = 0;

  // Attributes.
  std::string attribute_group;
  std::string attribute_name, attribute_value;

  // A point record starts its own quality figures: only its follow-up
  // records 62 and C6 give it satellites, DOPs and an RMS, never those of
  // the point before.
  void ClearQualityFigures() {
    rms = 0;
    hdop = 0;
    vdop = 0;
    satellites = 0;
  }
};

}  // namespace danvora

#endif  // DANVORA_JOB_STATE_H_
