#pragma once

#include <string>
#include <sys/stat.h>
#include <sys/types.h>

namespace zelmora {

// Where a save writes and how it lands. An existing regular file, or a new one, is written to
// a temporary file that replaces it only at Commit, so a failed save leaves the old file as it
// was. A symbolic link is followed (under the link rule of FollowLinks: never another user's
// link in a folder that others may write) and its target replaced. Anything else that exists
// there, a pipe, a device, a socket or a folder, is refused with "File access denied". An empty
// name is left to the open, which reports it.
//
// On Linux everything after the links are followed goes through a descriptor of the target's
// folder: the temporary file is made, named and renamed over the target there, and written
// through its own descriptor, so a link planted meanwhile at either name is replaced itself,
// never followed. The links are checked once more just before the rename.
//
// The temporary file lies beside the target and is private (mode 0600) until it is complete;
// it then gets the old file's owner and mode, or for a new file 0666 less the umask. It is
// created unnamed (O_TMPFILE), so a save killed while writing leaves nothing, and is named
// only when complete: under the hidden name "." + target name + ".zelmora-save" (a long
// target name is shortened and given a hash), which is then renamed over the target. A save
// killed between the two leaves that one file; the next save of the same target removes it.
// Where the file system has no unnamed files, the temporary file is created under the hidden
// name from the start. Two programs saving the same file at the same moment are not kept
// apart.
//
// A writable file in a folder where the user may not create files is rewritten in place,
// without atomicity, since no temporary file can be made beside it; a link put in its place
// meanwhile is then refused.
//
// On Windows the temporary file has the hidden name from the start; it is flushed and takes the
// old file's place with ReplaceFileA, which gives it the old file's attributes and security, or
// for a new file with MoveFileExA. A read-only file is refused as one that may not be written.
//
// Failures record a pending code, as the text files do.
class AtomicSave {
public:
    explicit AtomicSave(const std::string& target);
    AtomicSave(const AtomicSave&) = delete;
    AtomicSave& operator=(const AtomicSave&) = delete;
    // Removes a temporary file that was not committed.
    ~AtomicSave();

    // The name to open for writing: the temporary file, or the target when written in place.
    const std::string& WritePath() const { return writePath_; }
    // True when WritePath is a file's name rather than a descriptor's: it is then to be opened
    // without following a link at its end.
    bool WritePathIsName() const { return writePathIsName_; }

    // Gives the written temporary file its final owner and mode and moves it over the target.
    // Call it after the file was written and closed without error.
    void Commit();

    // Tests turn unnamed temporary files off to reach the named ones of file systems that
    // lack them. Affects the saves that start afterwards.
    static void SetUnnamedTemporaryForTesting(bool allowed);

private:
    void Prepare(const std::string& path);
    bool OpenFolder();
    void TakeOld(const struct stat& info);
    void WriteThroughDescriptor();
    bool LinksStillAllowed();
    void CreateTemporary();
    bool CreateUnnamed();
    void CreateNamed();
    void CannotCreate(int error);
    bool NameTemporary();
    void Fail(int error);

    std::string requested_;
    std::string target_;
    std::string hidden_;
    std::string writePath_;
    bool writePathIsName_ = true;
    int folderFd_ = -1;
    std::string name_;       // the target's name in its folder
    std::string hiddenName_; // the temporary file's name there
    int temporaryFd_ = -1;
    bool ownsHidden_ = false;
    bool replacesOld_ = false;
    mode_t finalMode_ = 0;
    unsigned oldOwner_ = 0;
    unsigned oldGroup_ = 0;
};

} // namespace zelmora
