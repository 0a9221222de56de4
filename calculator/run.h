#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace slopecalc {

// The whole calculator: arguments after the program name; the summary goes to out, errors to
// err. Returns the exit status: 0 on success, 1 for a failed calculation, 2 for a bad call.
int RunSlopecalc(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace slopecalc
