#include "cli/terminal_escapes.h"

namespace zelmora::batch {

bool EnableTerminalEscapes() {
    return true;
}

} // namespace zelmora::batch
