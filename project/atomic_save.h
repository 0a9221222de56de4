#pragma once

#include <string>
#include <sys/types.h>

namespace zelmora {

// Where a save writes and how it lands. An existing regular file, or a new one, is written to a
// temporary file in the same folder that replaces it only at Commit, so a failed save leaves
// the old file as it was; a symbolic link is followed and its target replaced. Anything else
// (a device, a pipe, an empty name) is written in place. Failures record a pending code, as the
// text files do.
class AtomicSave {
public:
    explicit AtomicSave(const std::string& target);
    AtomicSave(const AtomicSave&) = delete;
    AtomicSave& operator=(const AtomicSave&) = delete;
    // Removes a temporary file that was not committed.
    ~AtomicSave();

    // The name to open for writing: the temporary file, or the target when written in place.
    const std::string& WritePath() const { return writePath_; }

    // Gives the written temporary file the old file's owner and permissions and moves it over
    // the target. Call it after the file was written and closed without error.
    void Commit();

private:
    void Prepare(const std::string& path);
    void CreateTemporary(const std::string& path);
    void Fail(int error);

    std::string target_;
    std::string writePath_;
    std::string temporary_;
    int temporaryFd_ = -1;
    bool replacesOld_ = false;
    mode_t oldMode_ = 0;
    uid_t oldOwner_ = 0;
    gid_t oldGroup_ = 0;
};

} // namespace zelmora
