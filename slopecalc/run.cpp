#include "slopecalc/run.h"

#include "slopecalc/atomic_file.h"
#include "slopecalc/data_paths.h"
#include "slopecalc/input_error.h"
#include "slopecalc/model_reader.h"
#include "slopecalc/modification.h"
#include "slopecalc/result_file.h"
#include "slopecalc/search.h"
#include "slopecalc/summary.h"
#include "slopecalc/svg_picture.h"

#include <algorithm>
#include <filesystem>

namespace slopecalc {
namespace {

// Laid out as help2man reads it: a usage line with its "or:" lines, a description, then the
// options and the exit statuses, each indented by two blanks with its text in a column.
constexpr const char* Usage =
    "Usage: slopecalc MODEL /c\n"
    "  or:  slopecalc --help\n"
    "  or:  slopecalc --version\n"
    "Compute the critical safety factor of a slope model (.plx) by Bishop's simplified\n"
    "method of slices: the given circle's, or the least over a search of circles.\n"
    "\n"
    "MODEL is the path of the model file; the words before \"/c\" are joined by single\n"
    "blanks to form it. The calculator reads <stem>.mmt and writes <stem>.hxx and\n"
    "<stem>.svg in the data folder: the model path without its last three characters,\n"
    "then \"dta/\". It prints a summary; errors go to standard error.\n"
    "\n"
    "Options:\n"
    "  /c         calculate the model named by the words before it\n"
    "  --help     display this help and exit\n"
    "  --version  output version information and exit\n"
    "\n"
    "Exit status:\n"
    "  0  the calculation succeeded\n"
    "  1  the calculation failed; standard error says why\n"
    "  2  a bad call; this help goes to standard error\n";

// The statements of a model file, for the help and so for the man page: each keyword with
// its arguments and meaning in a column, wrapped to the width of a terminal.
std::string ModelFileHelp() {
    constexpr std::size_t Column = 23;
    constexpr std::size_t Width = 79;
    std::string text = "\nModel file statements, one a line (# starts a comment):\n";
    for (const KeywordForm& form : KeywordForms) {
        std::string line = "  " + std::string(form.keyword);
        const std::string words = std::string(form.form.substr(form.keyword.size() + 1)) + ": " +
                                  std::string(form.meaning);
        for (std::size_t start = 0; start < words.size();) {
            std::size_t end = words.find(' ', start);
            end = end == std::string::npos ? words.size() : end;
            const std::string word = words.substr(start, end - start);
            if (line.size() >= Column && line.size() + 1 + word.size() > Width) {
                text += line + "\n";
                line.clear();
            }
            line.resize(std::max(line.size() + 1, Column), ' ');
            line += word;
            start = end + 1;
        }
        text += line + "\n";
    }
    return text;
}

// Runs a reader and names the file in its error message.
template <class Read> auto NamingFile(const std::string& path, Read read) {
    try {
        return read();
    } catch (const InputError& error) {
        throw zelmora::Error(path + ": " + error.what());
    }
}

int Calculate(const std::string& modelPath, std::ostream& out) {
    const DataPaths paths = DeriveDataPaths(modelPath);
    // A failed run must not leave an earlier result that could pass for its own.
    RemoveIfPresent(paths.result);
    RemoveIfPresent(paths.picture);
    std::error_code error;
    if (!std::filesystem::is_directory(paths.folder, error)) {
        throw zelmora::Error("the data folder " + paths.folder + " does not exist");
    }
    Model model = NamingFile(modelPath, [&] { return ReadModelFile(modelPath); });
    const std::vector<Modification> modifications = NamingFile(
        paths.modification, [&] { return ReadModificationFile(paths.modification, model); });
    ApplyModifications(model, modifications);
    const std::vector<StageResult> stages = NamingFile(modelPath, [&] { return Analyse(model); });
    const std::string records = FormatResultRecords(model, stages);
    WriteFileAtomically(paths.picture, DrawSvg(model, stages.back()));
    WriteFileAtomically(paths.result, records);
    out << FormatSummary(modelPath, paths, model, modifications, stages);
    return 0;
}

} // namespace

int RunSlopecalc(const std::vector<std::string>& arguments, std::string_view version,
                 std::ostream& out, std::ostream& err) {
    if (arguments.size() == 1 && arguments[0] == "--help") {
        out << Usage << ModelFileHelp();
        return 0;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        out << "slopecalc " << version << "\n";
        return 0;
    }
    const auto modelPath = ModelPathFromArguments(arguments);
    if (!modelPath) {
        err << Usage << ModelFileHelp();
        return 2;
    }
    try {
        return Calculate(*modelPath, out);
    } catch (const std::exception& error) {
        err << "slopecalc: " << error.what() << "\n";
        return 1;
    }
}

} // namespace slopecalc
