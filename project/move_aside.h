#pragma once

#include <string>

namespace zelmora {

// Gives the file at `from` the name `to`, which must not exist: true when moved, false when
// `to` exists (nothing moved then). A link is moved itself, never its target. Other failures
// raise the input/output errors.
bool MoveAside(const std::string& from, const std::string& to);

} // namespace zelmora
