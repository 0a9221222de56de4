#include "analysis/coupling/run_picture.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace zelmora {

RunPicture::RunPicture(const std::string& resultPath)
    : path_(resultPath.substr(0, resultPath.rfind('.')) + ".svg"), startedAt_(CoarseNow()) {}

std::string RunPicture::Read() const {
    std::error_code error;
    const std::optional<FileIdentity> identity = IdentityOfPath(path_);
    if (!identity || !std::filesystem::is_regular_file(path_, error) ||
        identity->size > MaxPictureBytes || identity->modified.tv_sec < startedAt_.tv_sec) {
        return {};
    }
    std::ifstream file(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace zelmora
