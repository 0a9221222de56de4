#pragma once

#include <QUrl>

namespace zelmora::ui {

// Opens pages in the user's browser. Tests install their own to record what would have been
// opened, so that no browser starts.
class Browser {
public:
    virtual ~Browser() = default;
    // False when no browser could take the page.
    virtual bool Open(const QUrl& url) = 0;
};

// The browser in use: the desktop's own unless a test installed another (nullptr restores it).
void InstallBrowser(Browser* browser);

bool OpenInBrowser(const QUrl& url);

} // namespace zelmora::ui
