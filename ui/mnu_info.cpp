#include "ui/mnu_info.h"

#include "ui/centre_on_screen.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

namespace zelmora::ui {

TInfo::TInfo(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Info"));

    Memo1 = new QPlainTextEdit;
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    OKButton = new QPushButton(QStringLiteral("OK"));
    OKButton->setObjectName(QStringLiteral("OKButton"));
    connect(OKButton, &QPushButton::clicked, this, &TInfo::OKButtonClick);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    resize(460, 420);
    CentreOnScreen(*this);
}

void TInfo::AppendLine(const QString& line) {
    // An empty document still has one block: only a line appended before, even an empty one,
    // or typed text needs a new block.
    QTextCursor cursor(Memo1->document());
    cursor.movePosition(QTextCursor::End);
    if (appended || !Memo1->document()->isEmpty())
        cursor.insertBlock();
    cursor.insertText(line);
    appended = true;
}

void TInfo::OKButtonClick() {
    hide();
}

} // namespace zelmora::ui
