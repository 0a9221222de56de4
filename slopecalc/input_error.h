#pragma once

#include "project/errors.h"

#include <string>

namespace slopecalc {

// Bad input in a model or modification file; the message names the line when there is one.
class InputError : public zelmora::Error {
public:
    InputError(int line, const std::string& message);
    int line;
};

} // namespace slopecalc
