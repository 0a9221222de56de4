#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace zelmora::ui {

// The info window: the help text, one copy more after every help request.
class TInfo : public QWidget {
    Q_OBJECT

public:
    explicit TInfo(QWidget* parent = nullptr);

    void AppendLine(const QString& line);
    void OKButtonClick();

    QPlainTextEdit* Memo1;
    QPushButton* OKButton;

private:
    bool appended = false;
};

} // namespace zelmora::ui
