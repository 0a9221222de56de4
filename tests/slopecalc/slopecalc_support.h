#pragma once

#include "slopecalc/model.h"
#include "slopecalc/model_reader.h"

#include <string>

namespace slopecalc::testing {

inline std::string ExamplePath(const std::string& name) {
    return std::string(SLOPECALC_EXAMPLES) + "/" + name;
}

// The models of the tests alone, beside the examples.
inline std::string TestModelPath(const std::string& name) {
    return std::string(SLOPECALC_TEST_MODELS) + "/" + name;
}

inline Model LoadExample(const std::string& name) {
    return ReadModelFile(ExamplePath(name));
}

} // namespace slopecalc::testing
