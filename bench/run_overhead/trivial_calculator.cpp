// A calculator that does no work: started as "<program> <project>.plx /c" it leaves a result
// file with one record in <project>.dta/<name>.hxx.
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    const std::string project = argv[1];
    const std::string name = project.substr(project.find_last_of('/') + 1);
    const std::string path = project.substr(0, project.size() - 3) + "dta/" +
                             name.substr(0, name.find_last_of('.')) + ".hxx";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 1;
    }
    std::fputs("Step 1\r\n 1 0.5 0.25 1.2345 7\r\n", file);
    for (int k = 0; k < 10; ++k) {
        std::fputs(" detail\r\n", file);
    }
    std::fputs(" 1 2 3 4 5 6\r\n", file);
    return std::fclose(file) == 0 ? 0 : 1;
}
