#include "slopecalc/modification.h"

#include "slopecalc/input_error.h"
#include "slopecalc/number_text.h"
#include "slopecalc/printable_text.h"
#include "slopecalc/text_lines.h"

#include <cmath>
#include <filesystem>
#include <numbers>

namespace slopecalc {
namespace {

Modification ParseLine(int number, std::string_view line, const Model& model) {
    const std::vector<std::string_view> words = SplitWords(line);
    const auto malformed = [&] {
        return InputError(number, "malformed modification \"" + PrintableText(line) +
                                      "\", expected \"1 <set> <3 or 4> <value>\"");
    };
    if (words.size() != 4 || words[0] != "1") {
        throw malformed();
    }
    const std::optional<std::int32_t> set = ParseWholeNumber(words[1]);
    const std::optional<std::int32_t> parameter = ParseWholeNumber(words[2]);
    const std::optional<double> value = ParseNumber(words[3]);
    if (!set.has_value() || !parameter.has_value() || !value.has_value()) {
        throw malformed();
    }
    const Modification m{*set, *parameter, *value};
    if (model.materials.count(m.set) == 0) {
        throw InputError(number, "unknown set " + std::to_string(m.set));
    }
    if (m.parameter == SinePhiParameter) {
        if (m.value < 0 || m.value >= 1) {
            throw InputError(number, "sin phi must lie in 0 <= value < 1");
        }
    } else if (m.parameter == CohesionParameter) {
        if (m.value < 0) {
            throw InputError(number, "the cohesion must not be negative");
        }
    } else {
        throw InputError(number, "unknown parameter " + std::to_string(m.parameter) +
                                     ", expected 3 (sin phi) or 4 (cohesion)");
    }
    return m;
}

} // namespace

std::vector<Modification> ParseModifications(std::string_view text, const Model& model) {
    const std::vector<std::string_view> lines = SplitLines(text);
    if (lines.empty()) {
        throw InputError(1, "the count of modifications is missing");
    }
    const std::vector<std::string_view> words = SplitWords(lines[0]);
    const auto count = words.size() == 1 ? ParseWholeNumber(words[0]) : std::nullopt;
    if (!count || *count < 0) {
        throw InputError(1, "the count of modifications must be a whole number, found \"" +
                                PrintableText(lines[0]) + "\"");
    }
    const std::size_t following = lines.size() - 1;
    if (static_cast<std::size_t>(*count) != following) {
        throw InputError(
            1, "the count is " + std::to_string(*count) + " but " + std::to_string(following) +
                   (following == 1 ? " modification line follows" : " modification lines follow"));
    }
    std::vector<Modification> modifications;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        modifications.push_back(ParseLine(static_cast<int>(i + 1), lines[i], model));
    }
    return modifications;
}

std::vector<Modification> ReadModificationFile(const std::string& path, const Model& model) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return {};
    }
    const auto text = ReadWholeFile(path);
    if (!text) {
        throw InputError(0, "cannot read the modification file");
    }
    return ParseModifications(*text, model);
}

void ApplyModifications(Model& model, const std::vector<Modification>& modifications) {
    for (const Modification& m : modifications) {
        Material& material = model.materials.at(m.set);
        if (m.parameter == SinePhiParameter) {
            material.phiDegrees = std::asin(m.value) * 180 / std::numbers::pi;
        } else {
            material.cohesion = m.value;
        }
    }
}

} // namespace slopecalc
