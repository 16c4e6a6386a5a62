#include "platform/locale.h"

#include "platform/backend.h"

namespace platform {
namespace backend {
char SystemDecimalSeparator();
}  // namespace backend

char LocaleDecimalSeparator() {
  std::string forced = backend::GetEnv("PELIXO_DECIMAL_SEPARATOR");
  if (!forced.empty()) return forced[0];
  return backend::SystemDecimalSeparator();
}

}  // namespace platform
