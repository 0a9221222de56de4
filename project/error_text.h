#pragma once

#include <string>

namespace zelmora {

// The text the error box shows for a message: a "." is appended when the last character
// sorts after "." in character code order.
std::string ErrorBoxMessage(const std::string& message);

} // namespace zelmora
