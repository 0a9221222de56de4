#include "project/errors.h"
#include "project/text_file.h"

namespace zelmora {

namespace {

thread_local int pendingCode = 0;

} // namespace

int PendingIoCode() {
    return pendingCode;
}

void RecordIoCode(int code) {
    pendingCode = code;
}

void CheckIo() {
    if (pendingCode != 0) {
        const int code = pendingCode;
        pendingCode = 0;
        throw EInOutError(code);
    }
}

} // namespace zelmora
