#include "slopecalc/model_reader.h"

#include "slopecalc/input_error.h"
#include "slopecalc/number_text.h"
#include "slopecalc/printable_text.h"
#include "slopecalc/text_lines.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

namespace slopecalc {
namespace {

using Words = std::vector<std::string_view>;

std::string Quoted(std::string_view word) {
    return "\"" + PrintableText(word) + "\"";
}

// What a statement of the keyword must look like: for its error messages.
std::string FormOf(std::string_view keyword) {
    for (const KeywordForm& form : KeywordForms) {
        if (form.keyword == keyword) {
            return std::string(form.form);
        }
    }
    return {};
}

std::string KeywordList() {
    std::string list;
    for (const KeywordForm& form : KeywordForms) {
        list += (list.empty() ? "" : ", ") + std::string(form.keyword);
    }
    return list;
}

class ModelParser {
public:
    Model Finish();
    void Statement(int line, const Words& words, std::string_view rest);

private:
    double Number(std::string_view word) const;
    std::int32_t SetNumber(std::string_view word) const;
    std::vector<double> Numbers(const Words& words, std::size_t first) const;
    void ExpectCount(const Words& words, std::size_t count) const;
    void Once(std::string_view keyword);
    std::vector<Point> Points(const Words& words, std::size_t first, std::string_view what) const;

    InputError Malformed(std::string_view keyword) const;
    void ReadMaterial(const Words& words);
    void ReadMaterialOptions(const Words& words, Material& material, const std::string& name);
    void ReadBoundary(const Words& words);
    void ReadWater(const Words& words);
    void ReadSlices(const Words& words);
    void ReadCircle(const Words& words);
    void ReadSearch(const Words& words);
    Range SearchRange(const Words& words, std::size_t first) const;
    void CheckSearchLimits() const;
    void CheckBelowPrevious(const Polyline& line, std::int32_t set) const;

    Model model_;
    int line_ = 0;
    std::string_view keyword_;
    std::set<std::string, std::less<>> seen_;
    std::vector<int> boundaryLines_;
    bool haveBedrock_ = false;
    int materialRuLine_ = 0; // the first material with an ru of its own
    int searchLine_ = 0;
};

double ModelParser::Number(std::string_view word) const {
    const auto value = ParseNumber(word);
    if (!value) {
        throw InputError(line_, std::string(keyword_) + ": not a number: " + Quoted(word));
    }
    return *value;
}

std::int32_t ModelParser::SetNumber(std::string_view word) const {
    const auto value = ParseWholeNumber(word);
    if (!value) {
        throw InputError(line_, "a set number must be a whole number: " + Quoted(word));
    }
    return *value;
}

std::vector<double> ModelParser::Numbers(const Words& words, std::size_t first) const {
    std::vector<double> values;
    for (std::size_t i = first; i < words.size(); ++i) {
        values.push_back(Number(words[i]));
    }
    return values;
}

void ModelParser::ExpectCount(const Words& words, std::size_t count) const {
    const std::size_t found = words.size() - 1;
    if (found != count) {
        throw InputError(line_, std::string(words[0]) + " needs " + std::to_string(count) +
                                    (count == 1 ? " number" : " numbers") + ", found " +
                                    std::to_string(found));
    }
}

void ModelParser::Once(std::string_view keyword) {
    if (!seen_.emplace(keyword).second) {
        throw InputError(line_, std::string(keyword) + " is given twice");
    }
}

std::vector<Point> ModelParser::Points(const Words& words, std::size_t first,
                                       std::string_view what) const {
    const std::vector<double> values = Numbers(words, first);
    if (values.size() % 2 != 0) {
        throw InputError(line_, std::string(what) + ": the coordinates must come in x y pairs");
    }
    if (values.size() < 4) {
        throw InputError(line_, std::string(what) + " needs at least two points");
    }
    std::vector<Point> points;
    for (std::size_t i = 0; i < values.size(); i += 2) {
        if (!points.empty() && values[i] <= points.back().x) {
            throw InputError(line_, std::string(what) + ": x must increase from point to point");
        }
        points.push_back({values[i], values[i + 1]});
    }
    return points;
}

InputError ModelParser::Malformed(std::string_view keyword) const {
    return InputError(line_, std::string(keyword) + " needs the form: " + FormOf(keyword));
}

// The optional pairs after the strengths, each at most once, in any order.
void ModelParser::ReadMaterialOptions(const Words& words, Material& material,
                                      const std::string& name) {
    std::set<std::string_view> given;
    for (std::size_t i = 8; i < words.size(); i += 2) {
        const std::string_view option = words[i];
        const bool known = option == "cohesion_rate" || option == "datum" || option == "ru";
        if (!known || i + 1 == words.size() || !given.insert(option).second) {
            throw Malformed("material");
        }
        const double value = Number(words[i + 1]);
        if (option == "cohesion_rate") {
            material.cohesionRate = value;
        } else if (option == "datum") {
            material.datum = value;
        } else {
            material.poreRatio = value;
        }
    }
    if (given.count("cohesion_rate") != given.count("datum")) {
        throw InputError(line_, name + ": cohesion_rate and datum go together");
    }
    if (material.cohesionRate < 0) {
        throw InputError(line_, name + ": the cohesion rate must not be negative");
    }
    if (material.poreRatio && (*material.poreRatio < 0 || *material.poreRatio >= 1)) {
        throw InputError(line_, name + ": ru must lie in 0 <= ru < 1");
    }
    if (material.poreRatio && model_.water) {
        throw InputError(line_, "water and a material's ru exclude each other");
    }
}

void ModelParser::ReadMaterial(const Words& words) {
    if (words.size() < 8 || words[2] != "unit_weight" || words[4] != "cohesion" ||
        words[6] != "phi") {
        throw Malformed("material");
    }
    const std::int32_t set = SetNumber(words[1]);
    Material material{Number(words[3]), Number(words[5]), Number(words[7]), 0, 0, std::nullopt};
    const std::string name = "material " + std::to_string(set);
    ReadMaterialOptions(words, material, name);
    if (material.poreRatio && materialRuLine_ == 0) {
        materialRuLine_ = line_;
    }
    if (material.unitWeight <= 0) {
        throw InputError(line_, name + ": the unit weight must be greater than 0");
    }
    if (material.cohesion < 0) {
        throw InputError(line_, name + ": the cohesion must not be negative");
    }
    if (material.phiDegrees < 0 || material.phiDegrees > 89) {
        throw InputError(line_, name + ": phi must lie between 0 and 89 degrees");
    }
    if (!model_.materials.emplace(set, material).second) {
        throw InputError(line_, name + " is given twice");
    }
}

void ModelParser::CheckBelowPrevious(const Polyline& line, std::int32_t set) const {
    if (model_.boundaries.empty()) {
        return;
    }
    const Polyline& above = model_.boundaries.back().line;
    std::vector<double> xs;
    for (const Point& p : above.Points()) {
        xs.push_back(p.x);
    }
    for (const Point& p : line.Points()) {
        xs.push_back(p.x);
    }
    std::sort(xs.begin(), xs.end()); // report the leftmost crossing
    for (double x : xs) {
        const double top = above.ElevationAt(x);
        if (line.ElevationAt(x) > top + 1e-9 * (1 + std::fabs(top))) {
            throw InputError(line_,
                             "boundary " + std::to_string(set) +
                                 " rises above the boundary before it at x = " + ShortText(x));
        }
    }
}

void ModelParser::ReadBoundary(const Words& words) {
    if (words.size() < 2) {
        throw Malformed("boundary");
    }
    const std::int32_t set = SetNumber(words[1]);
    Polyline line(Points(words, 2, "boundary"));
    CheckBelowPrevious(line, set);
    model_.boundaries.push_back({set, std::move(line)});
    boundaryLines_.push_back(line_);
}

void ModelParser::ReadWater(const Words& words) {
    Once("water");
    if (seen_.count("pore_pressure_ratio") != 0) {
        throw InputError(line_, "water and pore_pressure_ratio exclude each other");
    }
    if (materialRuLine_ != 0) {
        throw InputError(line_, "water and a material's ru exclude each other");
    }
    model_.water = Polyline(Points(words, 1, "water"));
}

void ModelParser::ReadSlices(const Words& words) {
    Once("slices");
    ExpectCount(words, 1);
    const auto count = ParseWholeNumber(words[1]);
    if (!count || *count < 2 || *count > 10000) {
        throw InputError(line_, "slices must be a whole number from 2 to 10000");
    }
    model_.slices = *count;
}

void ModelParser::ReadCircle(const Words& words) {
    Once("circle");
    if (searchLine_ != 0) {
        throw InputError(line_, "circle and search exclude each other");
    }
    ExpectCount(words, 3);
    const std::vector<double> values = Numbers(words, 1);
    if (values[2] <= 0) {
        throw InputError(line_, "the circle's radius must be greater than 0");
    }
    model_.circle = Circle{values[0], values[1], values[2]};
}

Range ModelParser::SearchRange(const Words& words, std::size_t first) const {
    const Range range{Number(words[first]), Number(words[first + 1])};
    if (range.from > range.to) {
        throw InputError(line_, "search: the " + std::string(words[first - 1]) +
                                    " range must run from the smaller x to the larger");
    }
    return range;
}

void ModelParser::ReadSearch(const Words& words) {
    Once("search");
    if (model_.circle) {
        throw InputError(line_, "circle and search exclude each other");
    }
    if (words.size() != 7 || words[1] != "entry" || words[4] != "exit") {
        throw Malformed("search");
    }
    const SearchLimits limits{SearchRange(words, 2), SearchRange(words, 5)};
    if (limits.entry.Middle() == limits.exit.Middle()) {
        throw InputError(line_, "search: the entry and exit ranges share their middle, so they "
                                "do not tell which way the slope faces");
    }
    model_.searchLimits = limits;
    searchLine_ = line_;
}

// The ranges lie on the ground; known only once the ground is.
void ModelParser::CheckSearchLimits() const {
    const Polyline& ground = model_.Ground();
    const Range extent{ground.FirstX(), ground.LastX()};
    for (const auto& [name, range] : {std::pair{"entry", model_.searchLimits->entry},
                                      std::pair{"exit", model_.searchLimits->exit}}) {
        if (range.from < extent.from || range.to > extent.to) {
            throw InputError(searchLine_, "search: the " + std::string(name) +
                                              " range must lie within the ground's x-range " +
                                              ShortText(extent.from) + " to " +
                                              ShortText(extent.to));
        }
    }
}

void ModelParser::Statement(int line, const Words& words, std::string_view rest) {
    line_ = line;
    const std::string_view keyword = words[0];
    keyword_ = keyword;
    if (keyword == "title") {
        Once(keyword);
        model_.title = std::string(rest);
    } else if (keyword == "material") {
        ReadMaterial(words);
    } else if (keyword == "boundary") {
        ReadBoundary(words);
    } else if (keyword == "bedrock") {
        Once(keyword);
        ExpectCount(words, 1);
        model_.bedrock = Number(words[1]);
        haveBedrock_ = true;
    } else if (keyword == "water") {
        ReadWater(words);
    } else if (keyword == "water_unit_weight") {
        Once(keyword);
        ExpectCount(words, 1);
        model_.waterUnitWeight = Number(words[1]);
        if (model_.waterUnitWeight <= 0) {
            throw InputError(line_, "water_unit_weight must be greater than 0");
        }
    } else if (keyword == "pore_pressure_ratio") {
        Once(keyword);
        if (model_.water) {
            throw InputError(line_, "water and pore_pressure_ratio exclude each other");
        }
        ExpectCount(words, 1);
        model_.poreRatio = Number(words[1]);
        if (model_.poreRatio < 0 || model_.poreRatio >= 1) {
            throw InputError(line_, "pore_pressure_ratio must lie in 0 <= ru < 1");
        }
    } else if (keyword == "slices") {
        ReadSlices(words);
    } else if (keyword == "circle") {
        ReadCircle(words);
    } else if (keyword == "search") {
        ReadSearch(words);
    } else {
        throw InputError(line_,
                         "unknown keyword " + Quoted(keyword) + "; the keywords: " + KeywordList());
    }
}

Model ModelParser::Finish() {
    if (model_.boundaries.empty()) {
        throw InputError(0, "the model has no boundary");
    }
    if (!haveBedrock_) {
        throw InputError(0, "the model has no bedrock");
    }
    for (std::size_t i = 0; i < model_.boundaries.size(); ++i) {
        const std::int32_t set = model_.boundaries[i].set;
        if (model_.materials.count(set) == 0) {
            throw InputError(boundaryLines_[i], "set " + std::to_string(set) + " has no material");
        }
    }
    if (model_.searchLimits) {
        CheckSearchLimits();
    }
    return std::move(model_);
}

// The text after the keyword, without its surrounding blanks.
std::string_view Rest(std::string_view line, std::string_view keyword) {
    std::string_view rest = line.substr(line.find(keyword) + keyword.size());
    const std::size_t first = rest.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    rest.remove_prefix(first);
    return rest.substr(0, rest.find_last_not_of(" \t") + 1);
}

} // namespace

Model ParseModel(std::string_view text) {
    ModelParser parser;
    int number = 0;
    for (std::string_view line : SplitLines(text)) {
        ++number;
        line = line.substr(0, line.find('#'));
        const std::vector<std::string_view> words = SplitWords(line);
        if (!words.empty()) {
            parser.Statement(number, words, Rest(line, words[0]));
        }
    }
    return parser.Finish();
}

Model ReadModelFile(const std::string& path) {
    const auto text = ReadWholeFile(path);
    if (!text) {
        throw InputError(0, "cannot read the model file");
    }
    return ParseModel(*text);
}

} // namespace slopecalc
