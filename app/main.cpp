#include "app/startup.h"
#include "project/standard_streams.h"

int main(int argc, char** argv) {
    zelmora::ReopenClosedStandardStreams();
    return zelmora::ui::RunProgram(argc, argv);
}
