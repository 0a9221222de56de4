#include "project/whole_file.h"

#include "project/atomic_save.h"
#include "project/text_file.h"

namespace zelmora {

void SaveTextFile(const std::string& fileName, const std::function<void(TextOutput&)>& write) {
    AtomicSave save(fileName);
    CheckIo();
    TextOutput out;
    out.OpenForWriting(save.WritePath());
    CheckIo();
    write(out);
    out.Close();
    CheckIo();
    save.Commit();
    CheckIo();
}

void SaveWholeFile(const std::string& fileName, const std::string& text) {
    SaveTextFile(fileName, [&text](TextOutput& out) { out.WriteText(text); });
}

} // namespace zelmora
