#include "ui/message_boxes.h"

#include "project/error_text.h"
#include "project/errors.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>

namespace zelmora::ui {
namespace {

class QtMessageBoxes : public MessageBoxes {
public:
    MessageAnswer Show(MessageKind kind, const QString& text, MessageButtons buttons) override {
        QMessageBox box(IconOf(kind), TitleOf(kind), text, ButtonsOf(buttons));
        const int answer = box.exec();
        if (buttons == MessageButtons::Ok)
            return MessageAnswer::Ok;
        if (answer == QMessageBox::Cancel)
            return MessageAnswer::Cancel;
        return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }

    void ShowDetailed(MessageKind kind, const QString& text, const QString& detail) override {
        QMessageBox box(IconOf(kind), TitleOf(kind), text, QMessageBox::Ok);
        box.setInformativeText(detail);
        box.setTextFormat(Qt::PlainText);
        // Not every Qt passes the format on to the informative text.
        if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
            label->setTextFormat(Qt::PlainText);
        box.exec();
    }

private:
    static QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons) {
        switch (buttons) {
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MessageButtons::Ok:
            break;
        }
        return QMessageBox::Ok;
    }

    static QMessageBox::Icon IconOf(MessageKind kind) {
        switch (kind) {
        case MessageKind::Error:
        case MessageKind::Failure:
            return QMessageBox::Critical;
        case MessageKind::Information:
            return QMessageBox::Information;
        case MessageKind::Plain:
            break;
        }
        return QMessageBox::NoIcon;
    }

    static QString TitleOf(MessageKind kind) {
        switch (kind) {
        case MessageKind::Error:
            return QStringLiteral("Error");
        case MessageKind::Information:
            return QStringLiteral("Information");
        case MessageKind::Plain:
        case MessageKind::Failure:
            break;
        }
        return QApplication::applicationName();
    }
};

QtMessageBoxes qtBoxes;
MessageBoxes* installed = nullptr;

} // namespace

MessageBoxes& CurrentMessageBoxes() {
    return installed ? *installed : qtBoxes;
}

void InstallMessageBoxes(MessageBoxes* boxes) {
    installed = boxes;
}

MessageAnswer ShowMessage(MessageKind kind, const QString& text, MessageButtons buttons) {
    return CurrentMessageBoxes().Show(kind, text, buttons);
}

QString ErrorBoxText(const std::exception& error) {
    return QFile::decodeName(QByteArray::fromStdString(ErrorBoxMessage(error.what())));
}

void ShowErrorBox(const std::exception& error) {
    const auto* detailed = dynamic_cast<const DetailedError*>(&error);
    const std::string detail = detailed ? detailed->Detail() : DetailOf(error);
    if (!detail.empty()) {
        CurrentMessageBoxes().ShowDetailed(
            MessageKind::Failure, ErrorBoxText(error),
            QFile::decodeName(QByteArray::fromStdString(detail)).trimmed());
        return;
    }
    ShowMessage(MessageKind::Failure, ErrorBoxText(error));
}

} // namespace zelmora::ui
