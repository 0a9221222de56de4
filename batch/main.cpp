// zelmora-batch: runs the reliability analysis of a project file without the windows.
#include "batch/batch_command.h"

#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
    zelmora::batch::BatchOptions options;
    CLI::App app{"Runs the reliability analysis of a Zelmora project file: drives the batch "
                 "calculator named in it once per case and prints the calculation log.",
                 "zelmora-batch"};
    app.add_option("--parallel", options.parallelRuns,
                   "Runs at once, each in a copy of the finite-element project (default 1: one "
                   "after the other in the project's own folder)")
        ->check(CLI::Range(1, 64));
    app.add_flag("--save", options.save,
                 "Write the results into the project file after a successful analysis");
    app.add_option("--json", options.jsonFile,
                   "Write the analysis as JSON to FILE (\"-\": standard output, the log then "
                   "goes to standard error), also when it fails")
        ->option_text("FILE");
    app.add_option("--report", options.reportFile,
                   "Write the HTML report of a successful analysis to FILE")
        ->option_text("FILE.html");
    app.add_option("PROJECT.zmo", options.projectFile, "The project file")->required();
    app.set_version_flag("--version", "zelmora-batch " ZELMORA_VERSION);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? zelmora::batch::ExitSuccess : zelmora::batch::ExitBadCall;
    }
    return zelmora::batch::RunBatch(options);
}
