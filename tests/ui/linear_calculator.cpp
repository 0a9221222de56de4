// A stand-in batch calculator for the desktop tests, started as "<program> <model path> /c".
// Its safety factor is linear in sin φ and c of every set, so a test can work out the results:
//   factor <base> <per unit of sin phi> <per unit of cohesion>
//   set <number> <sin phi> <cohesion>
// It applies the modification file, waits a little so that the caller's idle callback runs,
// notes the run in runs.log and writes a one-record result file, all in the data folder.

#include <charconv>
#include <chrono>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Strength {
    double sinPhi = 0;
    double cohesion = 0;
};

std::vector<std::string> Words(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

double Number(const std::string& word) {
    double value = 0;
    std::from_chars(word.data(), word.data() + word.size(), value);
    return value;
}

std::string Text(double value) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return {buffer, end};
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    const std::string model = argv[1];
    const std::size_t slash = model.rfind('/');
    const std::string file = model.substr(slash + 1);
    const std::string stem = file.substr(0, file.rfind('.'));
    const std::string data = model.substr(0, model.size() - 3) + "dta/";

    double base = 0, perSinPhi = 0, perCohesion = 0;
    std::map<int, Strength> sets;
    const std::vector<std::string> words = Words(model);
    for (std::size_t k = 0; k + 3 < words.size(); ++k) {
        if (words[k] == "factor") {
            base = Number(words[k + 1]);
            perSinPhi = Number(words[k + 2]);
            perCohesion = Number(words[k + 3]);
        } else if (words[k] == "set") {
            sets[static_cast<int>(Number(words[k + 1]))] = {Number(words[k + 2]),
                                                            Number(words[k + 3])};
        }
    }

    const std::vector<std::string> changes = Words(data + stem + ".mmt");
    for (std::size_t k = 1; k + 4 <= changes.size(); k += 4) {
        Strength& set = sets[static_cast<int>(Number(changes[k + 1]))];
        (changes[k + 2] == "3" ? set.sinPhi : set.cohesion) = Number(changes[k + 3]);
    }

    double safetyFactor = base;
    for (const auto& [number, set] : sets)
        safetyFactor += perSinPhi * set.sinPhi + perCohesion * set.cohesion;

    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::ofstream(data + "runs.log", std::ios::app) << "run\n";
    std::ofstream result(data + stem + ".hxx", std::ios::binary);
    result << "linear calculator\n0 0 0 " << Text(safetyFactor) << "\n";
    for (int line = 0; line < 10; ++line)
        result << "-\n";
    result << "0 0 0 0 0 0\n";
    return 0;
}
