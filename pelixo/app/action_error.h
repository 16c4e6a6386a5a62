// A failure inside a user's action: raised where it happens, caught at the
// end of the action and shown in the standard error box.
#ifndef PELIXO_APP_ACTION_ERROR_H_
#define PELIXO_APP_ACTION_ERROR_H_

#include <stdexcept>
#include <string>

namespace pelixo {

class ActionError : public std::runtime_error {
 public:
  explicit ActionError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace pelixo

#endif  // PELIXO_APP_ACTION_ERROR_H_
