// The texts of the one-digit code fields of DC records, as the system prints
// them (Windows-1252 bytes). A value outside a table has an empty text.
#ifndef DC_CODE_TABLES_H_
#define DC_CODE_TABLES_H_

#include <string_view>

namespace dc {

// Point class (records 66, 67, 69 column 85; 70 column 101; 79, D9 column
// 100), 0 "Offset" to 10 "Slettet Reference".
std::string_view PointClassName(int point_class);
// Classes 6 and above are deleted points.
inline bool IsDeletedClass(int point_class) { return point_class >= 6; }
inline constexpr int kClassReference = 5;

// Method (records 66, 67, 69 column 84; 70 column 100), 0 empty to 10
// "GPSnet fixed".
std::string_view MethodName(int method);
// A copied point.
inline constexpr int kMethodCopied = 5;

// GPS initialisation of record 71: result (column 4), 1 "opnået." to 7
// "brugerstop.", and method (column 25), 1 "Initialiseringsplade" to
// 4 "On the fly".
std::string_view InitialisationResultName(int result);
std::string_view InitialisationMethodName(int method);

}  // namespace dc

#endif  // DC_CODE_TABLES_H_
