#pragma once

#include "analysis/methods/sampling_result.h"

#include <nlohmann/json.hpp>

namespace zelmora {

// The sampling check's object of the analysis JSON, and back, the estimate's history included.
nlohmann::json SamplingJson(const SamplingResult& result);

// Throws nlohmann's exceptions for an object that is not one SamplingJson wrote.
SamplingResult SamplingFromJson(const nlohmann::json& object);

} // namespace zelmora
