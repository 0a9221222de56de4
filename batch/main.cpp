// zelmora-batch: runs the reliability analysis of a project file without the windows.
#include "analysis/analysis_driver.h"
#include "analysis/method_result.h"
#include "batch/batch_command.h"
#include "project/standard_streams.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <map>
#include <string>

namespace {

int Run(int argc, char** argv) {
    zelmora::batch::BatchOptions options;
    CLI::App app{"Runs the reliability analysis of a Zelmora project file: drives the batch "
                 "calculator named in it once per case and prints the calculation log.",
                 "zelmora-batch"};
    app.add_option("--parallel", options.parallelRuns,
                   "Runs at once, each in a copy of the finite-element project (default 1: one "
                   "after the other in the project's own folder)")
        ->check(CLI::Range(1, zelmora::MaxParallelRuns));
    app.add_flag("--save", options.save,
                 "Write the results into the project file after a successful analysis");
    std::map<std::string, zelmora::Method> methods;
    for (const zelmora::Method method :
         {zelmora::Method::FirstOrder, zelmora::Method::Taylor, zelmora::Method::Form}) {
        methods[zelmora::MethodName(method)] = method;
    }
    app.add_option("--method", options.method,
                   "After the first-order analysis, also the Taylor series method or FORM "
                   "(default first-order: the first-order analysis alone)")
        ->transform(CLI::CheckedTransformer(methods, CLI::ignore_case))
        ->option_text("first-order|taylor|form");
    bool lognormal = false;
    app.add_flag("--lognormal", lognormal, "FORM with lognormal strengths (default normal)");
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
        if (lognormal) {
            options.strengths = zelmora::StrengthDistribution::Lognormal;
        }
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? zelmora::batch::ExitSuccess : zelmora::batch::ExitBadCall;
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
        std::fprintf(stderr, "%s\n", error.what());
    } catch (...) {
        std::fputs("zelmora-batch: an unknown error ended the program\n", stderr);
    }
    return zelmora::batch::ExitAnalysisFailed;
}
