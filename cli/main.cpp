// zelmora-batch: runs the reliability analysis of a project file without the windows.
#include "analysis/analysis_driver.h"
#include "cli/batch_command.h"
#include "cli/correlation_argument.h"
#include "cli/option_values.h"
#include "cli/study_options.h"
#include "cli/terminal_lines.h"
#include "project/standard_streams.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <sstream>
#include <string>
#include <vector>

namespace {

int Run(int argc, char** argv) {
    zelmora::batch::BatchOptions options;
    CLI::App app{"Runs the reliability analysis of a Zelmora project file: drives the batch "
                 "calculator named in it once per case and prints the calculation log.",
                 "zelmora-batch"};
    std::string parallel = "1";
    app.add_option("--parallel", parallel,
                   "Runs at once, each in a copy of the finite-element project (default 1: one "
                   "after the other in the project's own folder)")
        ->option_text("1.." + std::to_string(zelmora::MaxParallelRuns));
    app.add_flag(
        "--save", options.save,
        "Write the study and the results into the project file after a successful analysis");
    app.add_flag("--resume", options.resume,
                 "Take up an interrupted analysis of the same model: runs it finished are not "
                 "run again");
    const zelmora::batch::StudyOptions study = zelmora::batch::AddStudyOptions(app, options);
    std::vector<std::string> correlations;
    app.add_option("--correlation", correlations,
                   "The correlation RHO, between -1 and 1, of two random strengths for this run, "
                   "added to or replacing the study's pairs (repeatable)")
        ->allow_extra_args(false)
        ->option_text("ROW:phi,ROW:cohesion=RHO");
    app.add_option("--json", options.jsonFile,
                   "Write the analysis as JSON to FILE (\"-\": standard output, the log then "
                   "goes to standard error), also when it fails")
        ->option_text("FILE");
    app.add_option("--report", options.reportFile,
                   "Write the HTML report of a successful analysis to FILE")
        ->option_text("FILE.html");
    app.add_option("--csv", options.csvFile,
                   "Write every run and sample of the analysis as CSV to FILE, for a "
                   "spreadsheet, also when it fails")
        ->option_text("FILE");
    app.add_option("PROJECT.zmo", options.projectFile, "The project file")->required();
    app.set_version_flag("--version", "zelmora-batch " ZELMORA_VERSION);
    app.footer("Exit status: 0 the analysis succeeded and everything asked for was written, 1 "
               "the analysis was refused before its first run, failed or was stopped, or an "
               "output could not be written, 2 a bad call or a project file that cannot be "
               "read.");
    try {
        app.parse(argc, argv);
        options.parallelRuns =
            zelmora::batch::CountOption("--parallel", parallel, 1, zelmora::MaxParallelRuns);
        zelmora::batch::TakeStudyOptions(study, options);
    } catch (const CLI::ParseError& error) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = app.exit(error, out, err);
        std::fputs(zelmora::batch::TerminalLines(out.str()).c_str(), stdout);
        std::fputs(zelmora::batch::TerminalLines(err.str()).c_str(), stderr);
        return status == 0 ? zelmora::batch::ExitSuccess : zelmora::batch::ExitBadCall;
    }
    try {
        for (const std::string& text : correlations) {
            options.correlations.push_back(zelmora::batch::ParseCorrelationArgument(text));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", zelmora::batch::TerminalLines(error.what()).c_str());
        return zelmora::batch::ExitBadCall;
    }
    return zelmora::batch::RunBatch(options);
}

} // namespace

// Whatever escapes the command (memory running out, say) still ends with a message.
int main(int argc, char** argv) {
    zelmora::ReopenClosedStandardStreams();
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", zelmora::batch::TerminalLines(error.what()).c_str());
    } catch (...) {
        std::fputs("zelmora-batch: an unknown error ended the program\n", stderr);
    }
    return zelmora::batch::ExitAnalysisFailed;
}
