#pragma once

#include <optional>
#include <string>
#include <vector>

namespace slopecalc {

// The files of a model in its data folder: the model path without its last three characters,
// then "dta/" ("dta\" on Windows); each file is named after the model file's stem.
struct DataPaths {
    std::string folder;
    std::string modification; // <stem>.mmt
    std::string result;       // <stem>.hxx
    std::string picture;      // <stem>.svg
};

DataPaths DeriveDataPaths(const std::string& modelPath);

// The model path of "<words of the path> /c": the caller adds no quotes, so the words are
// joined by single blanks. Nothing when the last argument is not "/c" or no word precedes it.
std::optional<std::string> ModelPathFromArguments(const std::vector<std::string>& arguments);

} // namespace slopecalc
