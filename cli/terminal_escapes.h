#pragma once

namespace zelmora::batch {

// Makes standard error, a terminal, take the escape sequence that erases a line. True when it
// does: always on POSIX; on Windows when the console can be switched to it (Windows 10 on).
bool EnableTerminalEscapes();

} // namespace zelmora::batch
