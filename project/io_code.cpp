#include "project/io_code.h"

#include "project/errors.h"

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

std::exception_ptr TakePendingIoError() {
    if (pendingCode == 0) {
        return nullptr;
    }
    const int code = pendingCode;
    pendingCode = 0;
    return std::make_exception_ptr(EInOutError(code));
}

} // namespace zelmora
