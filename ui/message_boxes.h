#pragma once

#include <QString>
#include <exception>
#include <stdexcept>
#include <string>

namespace zelmora::ui {

enum class MessageKind {
    Error,       // title "Error", error icon
    Information, // title "Information", information icon
    Plain,       // titled with the application title, no icon
    Failure,     // the default error box: application title, error icon
};
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// The modal message boxes of the program. Tests install their own to record what would have
// been shown and to answer Yes or No.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer Show(MessageKind kind, const QString& text, MessageButtons buttons) = 0;
    // An Ok box whose detail is its informative text, shown as plain text: it may hold what a
    // calculator wrote.
    virtual void ShowDetailed(MessageKind kind, const QString& text, const QString& detail) = 0;
};

// An error whose box tells more under its message.
class DetailedError : public std::runtime_error {
public:
    DetailedError(const std::string& message, std::string detail)
        : std::runtime_error(message), detail_(std::move(detail)) {}
    const std::string& Detail() const { return detail_; }

private:
    std::string detail_;
};

// The boxes in use: the real Qt ones unless a test installed others (nullptr restores them).
MessageBoxes& CurrentMessageBoxes();
void InstallMessageBoxes(MessageBoxes* boxes);

MessageAnswer ShowMessage(MessageKind kind, const QString& text,
                          MessageButtons buttons = MessageButtons::Ok);

// The default error box for an error that ended a command: its message, with "." appended
// when the last character sorts after "."; a DetailedError's detail, or
// an Error's, as its informative text.
void ShowErrorBox(const std::exception& error);
QString ErrorBoxText(const std::exception& error);

} // namespace zelmora::ui
