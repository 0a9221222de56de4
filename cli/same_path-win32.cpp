#include "cli/same_path.h"

#include <windows.h>

namespace zelmora::batch {

// The comparison the file system makes of names: ordinal, case folded.
bool SamePath(const std::filesystem::path& a, const std::filesystem::path& b) {
    const std::wstring first = a.lexically_normal().wstring();
    const std::wstring second = b.lexically_normal().wstring();
    return CompareStringOrdinal(first.c_str(), static_cast<int>(first.size()), second.c_str(),
                                static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
}

} // namespace zelmora::batch
