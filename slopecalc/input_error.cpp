#include "slopecalc/input_error.h"

namespace slopecalc {

InputError::InputError(int line, const std::string& message)
    : zelmora::Error(line > 0 ? "line " + std::to_string(line) + ": " + message : message),
      line(line) {}

} // namespace slopecalc
