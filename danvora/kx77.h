// The two functions of kx77dll, the outside geometry library, that the field
// report uses for its backsight check. kx77dll exports them by ordinal only,
// 12 and 14; on Windows the import library made from kx77dll.def binds these
// names to those ordinals, elsewhere the geometry code is linked in directly.
// Angles are in gon (400 to the circle), as everywhere in the library.
#ifndef DANVORA_KX77_H_
#define DANVORA_KX77_H_

#include "platform/calling_convention.h"

extern "C" {

// Ordinal 12: the direction from `from` to `to`, each a co-ordinate triple
// (Y, X, height), counted from the X axis towards the Y axis.
double PLATFORM_STDCALL kx77_direction(const double* from, const double* to);

// Ordinal 14: `angle` brought into the range 0 <= angle < 400.
double PLATFORM_STDCALL kx77_normalize_angle(double angle);

}  // extern "C"

#endif  // DANVORA_KX77_H_
