#include "cli/same_path.h"

namespace zelmora::batch {

bool SamePath(const std::filesystem::path& a, const std::filesystem::path& b) {
    return a == b;
}

} // namespace zelmora::batch
