#include "app/startup.h"

int main(int argc, char** argv) {
    return zelmora::ui::RunProgram(argc, argv);
}
