#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace slopecalc {

// The whole calculator: arguments after the program name and the version that --version
// shows; the summary goes to out, errors to err. Returns the exit status: 0 on success, 1 for
// a failed calculation, 2 for a bad call.
int RunSlopecalc(const std::vector<std::string>& arguments, std::string_view version,
                 std::ostream& out, std::ostream& err);

} // namespace slopecalc
