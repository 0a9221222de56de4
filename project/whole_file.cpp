#include "project/whole_file.h"

#include "project/atomic_save.h"
#include "project/text_file.h"

namespace zelmora {

void SaveWholeFile(const std::string& fileName, const std::string& text) {
    AtomicSave save(fileName);
    CheckIo();
    TextOutput out;
    out.OpenForWriting(save.WritePath());
    CheckIo();
    out.WriteText(text);
    out.Close();
    CheckIo();
    save.Commit();
    CheckIo();
}

} // namespace zelmora
