// A batch calculator for the fault tests, started as "<program> <folder>/<stem>.plx /c".
//
// Like the real one it removes an earlier result file first, then reads
// <folder>/<stem>.dta/<stem>.mmt and writes <folder>/<stem>.dta/<stem>.hxx: one record whose
// safety factor is 1 + the sum of the modified values, each sine of a friction angle counting
// fully and each cohesion at 2 %, or 1.4 for a file without modifications.
//
// <folder>/<stem>.dta/behaviour, when present, names one fault; runs are counted from 1 in
// <folder>/<stem>.dta/runs:
//   kill-before N   ends by SIGKILL before writing anything, at run N
//   kill-after N    ends by SIGKILL after writing its result, at run N
//   truncate N CUT  at run N writes a record with the factor 9.5, then its own record cut
//                   short at CUT: title, three-numbers, factor, details, last-numbers or
//                   line-end
//   exit S          writes its result and ends with status S, at every run
#include "tests/support/calculator_text.h"

#include <charconv>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using test_support::ReadWhole;
using test_support::ToDouble;
using test_support::ToInt;
using test_support::ToText;
using test_support::Words;

void WriteWhole(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The words after the count come in fours: "1 <set> <parameter> <value>".
double SafetyFactor(const std::string& modifications) {
    const std::vector<std::string> words = Words(modifications);
    if (words.size() <= 1) {
        return 1.4;
    }
    double factor = 1;
    for (std::size_t i = 1; i + 3 < words.size(); i += 4) {
        const double value = ToDouble(words[i + 3]);
        factor += words[i + 2] == "3" ? value : 0.02 * value;
    }
    return factor;
}

// Where a record is cut short: the length of the text that stays.
std::size_t CutLength(const std::string& record, const std::string& cut) {
    const std::size_t secondLine = record.find('\n') + 1;
    if (cut == "title") {
        return secondLine / 2;
    }
    if (cut == "three-numbers") {
        return record.find(' ', record.find(' ', record.find(' ', secondLine) + 1) + 1);
    }
    if (cut == "factor") {
        return record.find('\r', secondLine);
    }
    if (cut == "details") {
        return record.find("detail") + 3;
    }
    if (cut == "line-end") {
        return record.size() - 2;
    }
    return record.rfind(' ');
}

std::string Record(double factor) {
    std::string text = "fault calculator\r\n1 2 3 " + ToText(factor) + "\r\n";
    for (int k = 0; k < 10; ++k) {
        text += "detail line\r\n";
    }
    return text + "10 20 30 40 50 60\r\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    const std::string model = argv[1];
    const std::size_t slash = model.rfind('/');
    const std::string stem = model.substr(slash + 1, model.size() - slash - 5);
    const std::string data = model.substr(0, model.size() - 3) + "dta/";
    const std::string result = data + stem + ".hxx";
    std::remove(result.c_str());

    const int run = ToInt(ReadWhole(data + "runs")) + 1;
    WriteWhole(data + "runs", std::to_string(run));
    const std::vector<std::string> behaviour = Words(ReadWhole(data + "behaviour"));
    const auto strikes = [&](const std::string& fault) {
        return behaviour.size() >= 2 && behaviour[0] == fault && ToInt(behaviour[1]) == run;
    };

    if (strikes("kill-before")) {
        std::raise(SIGKILL);
    }
    const std::string record = Record(SafetyFactor(ReadWhole(data + stem + ".mmt")));
    if (strikes("truncate") && behaviour.size() == 3) {
        WriteWhole(result, Record(9.5) + record.substr(0, CutLength(record, behaviour[2])));
        return 0;
    }
    WriteWhole(result, record);
    if (strikes("kill-after")) {
        std::raise(SIGKILL);
    }
    return behaviour.size() == 2 && behaviour[0] == "exit" ? ToInt(behaviour[1]) : 0;
}
