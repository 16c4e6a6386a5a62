#include "danvora/job_reader.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "danvora/library_state.h"
#include "tests/danvora/test_util.h"

namespace danvora {
namespace {

using testing::Num;
using testing::Rec;
using testing::Txt;

// Record 00 with gons, metres, millibar, Celsius and coordinate order 1.
const std::string kHeader = Rec("00NM", {{40, "213110"}});

JobState& Job() { return library_state().job_state; }

class JobReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::FreshLibrary(); }
};

// Reads every line once with flags, as a pass does; the codes returned.
std::vector<int> Pass() {
  std::vector<int> codes;
  std::string flags;
  for (size_t i = 0; i < library_state().line_table.size(); ++i) {
    codes.push_back(read_record(i, &flags));
  }
  return codes;
}

std::string Projection(const std::string& meridian, const std::string& scale,
                       char type = '3') {
  return Rec("64NM", {{4, std::string(1, type)}, {21, Num(meridian)},
                      {101, Num(scale)}});
}

TEST_F(JobReaderTest, CoordinateSystemDecisions) {
  struct Case {
    std::vector<std::string> lines;
    int type;
    std::string name;
  };
  const std::vector<Case> cases = {
      // The ellipsoid after the projection still counts for it.
      {{kHeader, Projection("15", "0.99995"), Rec("65NM", {{4, Num("6378137")}})},
       17, "Kp2000 Bornholm"},
      {{kHeader, Rec("65NM", {{4, Num("6378137")}}), Projection("15", "0.9996")},
       14, "Utm zone 33 (Euref89)"},
      {{kHeader, Projection("15", "1"), Rec("65NM", {{4, Num("6378388")}})},
       6, "Utm zone 33 (Ed50)"},
      {{kHeader, Projection("9", "0.9996"), Rec("65NM", {{4, Num("6378388")}})},
       5, "Utm zone 32 (Ed50)"},
      {{kHeader, Projection("9", "0.9996"), Rec("65NM", {{4, Num("6378206")}})},
       kNoCoordSystem, ""},
      // No ellipsoid at all: read to the end, still -1.
      {{kHeader, Projection("9", "0.9996")}, kNoCoordSystem, ""},
      {{kHeader, Projection("12", "0.99995")}, 15, "Kp2000 Sj\xE6lland"},
      {{kHeader, Projection("9.5", "0.99995")}, 16, "Kp2000 Jylland/Fyn"},
      {{kHeader, Rec("D0NM", {{4, "E"}, {152, "2"}})}, 1,
       "System 34 Sj\xE6lland"},
      {{kHeader, Rec("D0NM", {{4, "E"}, {152, "4"}})}, 3, "System 45 Bornholm"},
      {{kHeader, Rec("D0NM", {{4, "?"}, {21, Num("10")}})}, kNoCoordSystem, ""},
      {{kHeader, Rec("D0NM", {{4, "?"}, {21, Num("14.5")}})}, 3,
       "System 45 Bornholm"},
      {{kHeader, Rec("78NM", {{4, "03"}}), Rec("D0NM", {{4, "n"}})}, 21,
       "YX koordinatsystem"},
      // D4 acts as 78.
      {{kHeader, Rec("D4NM", {{4, "01"}}), Projection("0", "1", '>')}, 20,
       "NE koordinatsystem"},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    testing::FreshLibrary();
    testing::LoadJob(cases[i].lines);
    prescan_job();
    EXPECT_EQ(Job().coord_system_type, cases[i].type) << "case " << i;
    if (cases[i].type != kNoCoordSystem) {
      EXPECT_EQ(Job().coord_system_name, cases[i].name) << "case " << i;
    }
  }
}

TEST_F(JobReaderTest, DanishParametersNegateTheStation) {
  testing::LoadJob({kHeader, Rec("78NM", {{4, "03"}}),
                    Rec("D0NM", {{4, "?"}, {21, Num("9.5")}, {69, Num("-1")}}),
                    Rec("02NM", {{4, Txt("S1")}, {20, Num("100.5")},
                                 {36, Num("200.25")}, {52, Num("3")},
                                 {68, Num("1.5")}})});
  Pass();
  EXPECT_EQ(Job().coord_system_type, 2);
  EXPECT_EQ(Job().projection_sign, -1);
  EXPECT_EQ(Job().central_meridian, 9.5);
  // Stored (b, a, h) under coordinate order 1; the first one negated.
  EXPECT_EQ(Job().station.x, -200.25);
  EXPECT_EQ(Job().station.y, 100.5);
  EXPECT_EQ(Job().instrument_height, 1.5);
}

TEST_F(JobReaderTest, CorrectedSlopeDistanceAndPpm) {
  testing::LoadJob({
      kHeader,
      Rec("75NM", {{4, Txt("T5")}, {20, "  1234"}, {43, Num("280")},
                   {59, Num("0.4")}}),
      Rec("D2NM", {{4, Num("1000")}, {20, Num("20")}, {52, Num("12")}}),
      Rec("D2NM", {{4, Num("0")}, {20, Num("20")}, {52, Num("10")}}),
      Rec("77NM", {{4, Num("1.6")}, {20, Num("30")}}),
      Rec("79NM", {{4, Txt("S1")}, {20, Txt("P1")}, {36, Num("100")},
                   {52, Num("100")}, {68, Num("50")}, {84, Txt("K")},
                   {100, "1"}}),
      Rec("79M2", {{4, Txt("S1")}, {20, Txt("P9")}, {36, Num("5")}}),
      Rec("D9M2", {{4, Txt("S1")}, {20, Txt("P9")}, {36, Num("5")}}),
  });
  std::string flags;
  read_record(0, &flags);
  read_record(1, &flags);
  read_record(2, &flags);
  EXPECT_NEAR(Job().ppm, 280 - 0.4 * 0.75 * 1000 / 293.16, 1e-12);
  EXPECT_NEAR(Job().ppm, 278.977, 0.001);
  read_record(3, &flags);
  EXPECT_EQ(Job().ppm, 10.0);
  read_record(4, &flags);
  EXPECT_EQ(read_record(5, &flags), 79);
  EXPECT_NEAR(Job().slope_distance, 100.031, 1e-9);
  EXPECT_EQ(Job().method, 0);
  EXPECT_EQ(Job().point_class, 1);
  EXPECT_EQ(read_record(6, &flags), -79);
  EXPECT_EQ(flags, "M2");
  EXPECT_EQ(Job().point_name, "P1");  // unchanged
  EXPECT_EQ(read_record(7, &flags), -139);
  EXPECT_NEAR(Job().slope_distance, 100.031, 1e-9);
}

TEST_F(JobReaderTest, PressureUnitsAndMissingRawDistance) {
  testing::LoadJob({
      Rec("00NM", {{40, "212211"}}),  // inch Hg, Fahrenheit
      Rec("75NM", {{43, Num("280")}, {59, Num("0.4")}}),
      Rec("D2NM", {{4, Num("30")}, {20, Num("68")}}),
      Rec("79NM", {{4, Txt("S1")}, {20, Txt("P1")}, {36, std::string(16, ' ')}}),
  });
  Pass();
  EXPECT_DOUBLE_EQ(Job().pressure, 30 * 33.86666666666667);
  EXPECT_NEAR(Job().temperature, 20.0, 1e-12);
  EXPECT_LT(Job().slope_distance, -9000000.0);
}

TEST_F(JobReaderTest, FollowUpRecordsAreTakenIn) {
  testing::LoadJob({
      kHeader,
      Rec("08NM", {{4, Txt("P1")}, {20, Num("1")}, {36, Num("2")},
                   {52, Num("3")}, {68, Txt("OLD")}}),
      Rec("B6NM", {{4, "Lamp post &R"}}),
      Rec("66NM", {{4, Txt("G1")}, {68, Txt("G")}, {84, "41"}}),
      Rec("B6NM", {{4, "Tree"}}),
      Rec("62NM", {{4, " 9"}, {22, Num("1.5")}, {38, Num("2.5")}}),
      Rec("C6NM", {{4, "11"}, {23, Num("0.7")}, {39, Num("0.9")},
                   {55, Num("0.012")}}),
      Rec("13NM", {{4, "note"}}),
  });
  std::string flags;
  EXPECT_EQ(read_record(1, &flags), 8);
  EXPECT_EQ(Job().point_code, "Lamp post &R");
  EXPECT_EQ(read_record(2, &flags), 116);
  EXPECT_EQ(Job().point_code, "Lamp post &R");
  EXPECT_EQ(read_record(3, &flags), 66);
  EXPECT_EQ(Job().point_code, "Tree");
  EXPECT_EQ(Job().satellites, 11);
  EXPECT_DOUBLE_EQ(Job().hdop, 0.7);
  EXPECT_DOUBLE_EQ(Job().rms, 0.012);
  EXPECT_EQ(Job().note, "");  // the 13 is not a follow-up
  // Without a flags buffer nothing is taken in.
  Job().point_code.clear();
  EXPECT_EQ(read_record(1, nullptr), 8);
  EXPECT_EQ(Job().point_code, "OLD");
}

TEST_F(JobReaderTest, OwnTurnsOfFollowUpRecordsLeaveTheirValues) {
  testing::LoadJob({
      kHeader,
      Rec("66NM", {{4, Txt("G1")}, {68, Txt("G")}, {84, "41"}}),
      Rec("C6NM", {{4, "11"}, {23, Num("0.7")}, {39, Num("0.9")},
                   {55, Num("0.012")}}),
      Rec("62NM", {{4, " 9"}, {22, Num("1.5")}, {38, Num("2.5")}}),
      Rec("B6NM", {{4, "Tree"}}),
      Rec("13NM", {{4, "note"}}),
  });
  std::string flags;
  EXPECT_EQ((std::vector<int>{0, 66, 126, 62, 116, 13}), Pass());
  // As after decoding 62 last: its satellites and DOPs, the RMS of C6.
  EXPECT_EQ(Job().satellites, 9);
  EXPECT_DOUBLE_EQ(Job().hdop, 1.5);
  EXPECT_DOUBLE_EQ(Job().vdop, 2.5);
  EXPECT_DOUBLE_EQ(Job().rms, 0.012);
  EXPECT_EQ(Job().point_code, "Tree");
  // A read without flags in between: the own turns decode again.
  EXPECT_EQ(read_record(1, &flags), 66);
  EXPECT_EQ(flags, "NM");
  read_record(2, nullptr);  // C6 alone
  EXPECT_EQ(Job().satellites, 11);
  Job().point_code = "changed";
  EXPECT_EQ(read_record(3, &flags), 62);
  EXPECT_EQ(Job().satellites, 9);
  EXPECT_EQ(read_record(4, &flags), 116);
  EXPECT_EQ(Job().point_code, "Tree");
}

TEST_F(JobReaderTest, FollowUpRecordsByTheirFirstTwoCharacters) {
  // "62" with more digits is still a follow-up (decoded as nothing); a code
  // of 116 or 126 written otherwise than "B6" or "C6" is not one.
  const std::string c6 = Rec("C6NM", {{4, "11"}});
  for (const char* start : {"6299", "62999999999999", "62-1", "62"}) {
    testing::FreshLibrary();
    testing::LoadJob({kHeader, Rec("66NM", {{4, Txt("G1")}}), start, c6});
    std::string flags;
    read_record(1, &flags);
    EXPECT_EQ(Job().satellites, 11) << start;
  }
  for (const char* start : {"116NM", "A@NM", "126NM", "61NM", "B", "6"}) {
    testing::FreshLibrary();
    testing::LoadJob({kHeader, Rec("66NM", {{4, Txt("G1")}}), start, c6});
    std::string flags;
    read_record(1, &flags);
    EXPECT_EQ(Job().satellites, 0) << start;
  }
  testing::FreshLibrary();
  testing::LoadJob({kHeader, Rec("08NM", {{4, Txt("P1")}}), "A@NM   x",
                    "B6NM   y"});
  std::string flags;
  read_record(1, &flags);
  EXPECT_EQ(Job().point_code, "");  // "A@" is code B6 but no follow-up
}

TEST_F(JobReaderTest, GpsPointCodeFromTheRawLine) {
  testing::LoadJob({kHeader,
                    Rec("66SO", {{4, Txt("G1")}, {68, "123456789012345"}}),
                    Rec("67SO", {{4, Txt("G2")}, {68, "12 4"}})});
  std::string flags;
  read_record(1, &flags);
  EXPECT_EQ(flags, "SO");
  EXPECT_EQ(Job().point_code, "Pnr.123456789012");
  read_record(2, &flags);
  EXPECT_EQ(Job().point_code, "Pnr.12 4        ");
  read_record(1, nullptr);  // no flags, no "SO"
  EXPECT_EQ(Job().point_code, "123456789012345");
}

TEST_F(JobReaderTest, HeaderResetsAndKeyedPointNegation) {
  testing::LoadJob({
      kHeader,
      Rec("65NM", {{4, Num("6378137")}}),
      Rec("74NM", {}),
      Rec("81NM", {{4, "2"}, {85, Txt("DK98 model", 32)}}),
      Rec("78NM", {{4, "01"}}),
      Rec("D0NM", {{4, "?"}, {21, Num("11.5")}, {69, Num("-3")}}),
      Rec("69KI", {{4, Num("K1")}, {20, Num("10")}, {36, Num("20")},
                   {52, Num("1")}, {68, Txt("C")}, {84, "57"}}),
      kHeader,
  });
  std::string flags;
  for (size_t i = 0; i < 7; ++i) read_record(i, &flags);
  EXPECT_TRUE(Job().datum_grid);
  EXPECT_EQ(Job().geoid_kind, GeoidKind::kDnn);
  EXPECT_EQ(Job().coord_system_type, 1);
  EXPECT_EQ(Job().point.x, -20.0);
  EXPECT_EQ(Job().point.y, 10.0);
  EXPECT_EQ(Job().method, 5);
  EXPECT_EQ(Job().point_class, 7);
  read_record(7, &flags);
  EXPECT_EQ(Job().semi_major_axis, -1.0);
  EXPECT_EQ(Job().projection_sign, 0);
  EXPECT_FALSE(Job().datum_grid);
  EXPECT_EQ(Job().geoid_kind, GeoidKind::kNone);
}

TEST_F(JobReaderTest, PrescanFlagsAndFitResult) {
  testing::LoadJob({
      kHeader, Projection("12", "0.99995"),
      Rec("B1NM", {{4, Txt("C1")}, {37, Num("0.01")}}),
      Rec("69KI", {{4, Num("K1")}}),
      Rec("67NM", {{4, Txt("G1")}}),
      Rec("50NM", {{68, Num("0.1")}, {84, Num("1.00001")}}),
  });
  PrescanResult r = prescan_job();
  EXPECT_EQ(r.field_fit, FieldFit::kFound);
  EXPECT_TRUE(r.keyed_point);
  EXPECT_TRUE(r.gps);
  EXPECT_TRUE(r.calibration_point);

  testing::FreshLibrary();
  testing::LoadJob({
      kHeader, Projection("12", "0.99995"),
      Rec("B1NM", {{4, Txt("C1")}}),
      Rec("50KI", {{68, Num("0.1")}, {84, Num("1")}}),
      Rec("50NM", {{68, std::string(16, ' ')}, {84, Num("1")}}),
      Rec("81NM", {{4, "1"}, {5, Num("0")}, {21, Num("0")}, {37, Num("0.5")},
                   {53, Num("0")}, {69, Num("0")}}),
  });
  r = prescan_job();
  EXPECT_FALSE(r.calibration_point);  // the keyed-in fit clears it
  EXPECT_EQ(r.field_fit, FieldFit::kFound);  // the vertical fit after the reset
  EXPECT_FALSE(r.gps);
}

// Every value of the job model alike in `a` and `b`.
void ExpectSameJob(const JobState& a, const JobState& b, int round) {
  auto same_triple = [&](const Triple& x, const Triple& y, const char* name) {
    EXPECT_EQ(x.x, y.x) << name << " in round " << round;
    EXPECT_EQ(x.y, y.y) << name << " in round " << round;
    EXPECT_EQ(x.z, y.z) << name << " in round " << round;
  };
  // Every field of the job model, triples aside.
#define DANVORA_JOB_FIELDS(X) \
    X(version_text) X(measurement_start) X(units.angle) X(units.distance) X(units.pressure) \
    X(units.temperature) X(units.coord_order) X(job_name) X(note) X(station_name) \
    X(instrument_height) X(point_name) X(point_code) X(method) X(point_class) \
    X(horizontal_precision) X(vertical_precision) X(slope_distance) X(zenith_distance) \
    X(horizontal_direction) X(backsight_azimuth) X(circle_reading) X(azimuth) \
    X(horizontal_distance) X(height_difference) X(satellites) X(hdop) X(vdop) X(rms) \
    X(receiver_model) X(receiver_serial) X(antenna_type) X(antenna_radius) X(antenna_offset) \
    X(antenna_height) X(antenna_method) X(initialisation_result) X(initialisation_method) \
    X(instrument_model) X(instrument_serial) X(k1) X(k2) X(target_height) X(prism_constant) \
    X(pressure) X(temperature) X(ppm) X(semi_major_axis) X(central_meridian) X(scale_factor) \
    X(axis_convention) X(projection_sign) X(coord_system_type) X(coord_system_name) \
    X(datum_grid) X(horizontal_fit.centre_second) X(horizontal_fit.centre_first) \
    X(horizontal_fit.translation_second) X(horizontal_fit.translation_first) \
    X(horizontal_fit.rotation) X(horizontal_fit.scale) X(vertical_fit.kind) \
    X(vertical_fit.centre_second) X(vertical_fit.centre_first) X(vertical_fit.translation) \
    X(vertical_fit.inclination_second) X(vertical_fit.inclination_first) X(geoid_name) \
    X(geoid_kind) X(second_point_name) X(horizontal_residual) X(vertical_residual) \
    X(residual_3d) X(residual_angle_1) X(residual_angle_2) X(check_point_name) \
    X(direction_offset) X(attribute_group) X(attribute_name) X(attribute_value)
#define DANVORA_SAME(field) \
  EXPECT_EQ(a.field, b.field) << #field << " in round " << round;
  DANVORA_JOB_FIELDS(DANVORA_SAME)
#undef DANVORA_SAME
#undef DANVORA_JOB_FIELDS
  for (auto [triple, name] : {std::pair{&JobState::station, "station"},
                               {&JobState::point, "point"},
                               {&JobState::residual, "residual"}}) {
    same_triple(a.*triple, b.*triple, name);
  }
}

TEST_F(JobReaderTest, PrescanLeavesTheJobAsAFullPassDoes) {
  // The prescan passes over records whose values later ones replace; the
  // job model it leaves for the field report must be that of reading every
  // record. Jobs of points and observations in any order, with their
  // follow-up records, skipped observations and now and then a record that
  // reads or sets the same values another way.
  const std::vector<std::string> kinds = {
      "08NM", "69KI", "66NM", "66SO", "67NM", "09NM", "02NM", "07NM", "E1NM",
      "79NM", "79M2", "D9NM", "D9M2", "70NM", "B6NM", "62NM", "C6NM", "6212",
      "A@NM", " 8NM"};
  const std::vector<std::string> others = {
      "E0NM", "B1NM", "B2NM", "73NM", "D2NM", "77NM", "00NM", "64NM", "65NM",
      "13NM", "54NM", "78NM", "D0NM"};
  uint32_t random = 20261208;
  auto next = [&](uint32_t n) {
    random = random * 1103515245u + 12345u;
    return (random >> 8) % n;
  };
  auto number = [&]() {
    return Num(std::to_string(next(100000)) + "." + std::to_string(next(1000)));
  };
  for (int round = 0; round < 400; ++round) {
    std::vector<std::string> lines = {Rec("00NM", {{40, "213110"}}),
                                      Projection("9.5", "0.9996")};
    const int count = 2 + static_cast<int>(next(40));
    for (int i = 0; i < count; ++i) {
      const std::string& kind = next(12) == 0 ? others[next(others.size())]
                                              : kinds[next(kinds.size())];
      std::string line = Rec(
          kind, {{4, Txt(std::string("N") += std::to_string(next(9)))},
                 {20, number()}, {36, number()}, {52, number()},
                 {68, number()}, {84, std::to_string(next(100))},
                 {100, std::to_string(next(100))}});
      if (next(8) == 0) line.resize(next(line.size()));
      lines.push_back(line);
    }
    testing::FreshLibrary();
    testing::LoadJob(lines);
    Job().coord_system_type = kNoCoordSystem;
    Job().geoid_kind = GeoidKind::kNone;
    Pass();
    const JobState full = Job();
    testing::FreshLibrary();
    testing::LoadJob(lines);
    prescan_job();
    ExpectSameJob(Job(), full, round);
    if (HasFailure()) break;
  }
}

TEST_F(JobReaderTest, LongPhysicalLinesAreOneRecord) {
  // The tail of an over-long line must not become records of its own.
  std::string note = Rec("13NM", {{4, "start"}});
  note += std::string(300, ' ') + "69KI      X9";
  testing::LoadJob({kHeader, note, Rec("10NM", {{4, "JOB"}})});
  EXPECT_EQ(library_state().line_table.size(), 3u);
  EXPECT_EQ(Pass(), (std::vector<int>{0, 13, 10}));
}

TEST_F(JobReaderTest, ShortAndOddLinesDecodeSafely) {
  std::vector<std::string> lines = {kHeader};
  for (const char* code : {"00", "02", "05", "07", "08", "09", "10", "13",
                           "50", "57", "61", "62", "64", "65", "66", "67",
                           "69", "70", "71", "73", "75", "77", "78", "79",
                           "81", "87", "88", "89", "92", "A0", "A6", "B1",
                           "B2", "B6", "C6", "C8", "D0", "D2", "D4", "D9",
                           "E0", "E1", "E2", "E4", ""}) {
    lines.push_back(code);
    lines.push_back(std::string(code) + "N");
    lines.push_back(std::string(code) + "NM   *");
  }
  lines.push_back(std::string("\xFF\x80\x1B", 3));
  testing::LoadJob(lines);
  prescan_job();
  Pass();
  SUCCEED();
}

TEST_F(JobReaderTest, ReadAheadStaysLinear) {
  // Projections without an ellipsoid, each after a header that clears it:
  // every one would read to the end, and nested read-aheads would multiply.
  std::vector<std::string> lines;
  for (int i = 0; i < 20000; ++i) {
    lines.push_back(kHeader);
    lines.push_back(Projection("15", "0.9996"));
  }
  lines.push_back(Rec("65NM", {{4, Num("6378137")}}));
  testing::LoadJob(lines);
  prescan_job();
  EXPECT_EQ(Job().coord_system_type, 14);
  prescan_job();  // a second pass reads ahead again
  EXPECT_EQ(Job().coord_system_type, 14);
}

TEST_F(JobReaderTest, LineLimit) {
  const std::string path = testing::TestFolder("line_limit") + "big.dc";
  std::string bytes;
  bytes.reserve(600000 * 6);
  for (int i = 0; i < 500001; ++i) bytes += "10NM\r\n";
  testing::WriteFile(path, bytes);
  ::testing::internal::CaptureStderr();
  ASSERT_TRUE(load_line_table(path));
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(library_state().line_table.size(), 500000u);
  EXPECT_NE(err.find("Max. antal linier 500000 n\xE5" "et!"), std::string::npos)
      << err;
}

}  // namespace
}  // namespace danvora
