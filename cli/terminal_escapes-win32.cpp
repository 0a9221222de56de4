#include "cli/terminal_escapes.h"

#include <windows.h>

namespace zelmora::batch {

bool EnableTerminalEscapes() {
    const HANDLE console = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    return GetConsoleMode(console, &mode) &&
           SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

} // namespace zelmora::batch
