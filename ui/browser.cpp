#include "ui/browser.h"

#include <QDesktopServices>

namespace zelmora::ui {
namespace {
Browser* installed = nullptr;
}

void InstallBrowser(Browser* browser) {
    installed = browser;
}

bool OpenInBrowser(const QUrl& url) {
    return installed ? installed->Open(url) : QDesktopServices::openUrl(url);
}

} // namespace zelmora::ui
