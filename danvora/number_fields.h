// The number fields of the DC records as the job reader decodes them: the
// same values as dc::ParseNumber and the dc field decoders built on it, with
// a shortcut for the plain decimals that make up nearly every field (a job
// is read twice per translation, and its numbers are most of the work).
#ifndef DANVORA_NUMBER_FIELDS_H_
#define DANVORA_NUMBER_FIELDS_H_

#include <cstddef>
#include <string_view>

#include "dc/fields.h"
#include "dc/units.h"

namespace danvora {

// dc::ParseNumber(text).
double ParseFieldNumber(std::string_view text);

// dc::DecodeNumber, dc::DecodeDistance, dc::DecodeAngle and dc::DecodeTriple.
double NumberField(std::string_view line, size_t column);
double DistanceField(std::string_view line, size_t column, int distance_unit);
double AngleField(std::string_view line, size_t column, int angle_unit);
dc::Triple TripleField(std::string_view line, size_t column,
                       const dc::Units& units);

}  // namespace danvora

#endif  // DANVORA_NUMBER_FIELDS_H_
