#include "ui/mnu_new.h"

#include "ui/centre_on_screen.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelmora::ui {
namespace {

const char* const Instructions[] = {
    "Please, fill out new data under \"Input data\".",
    "Save this with the name \"projectname.zmo\"",
    "In which the projectname (before .zmo) must be the same as the Plaxis project.",
    "Store the file in the plaxis directory (.dta) of the project.",
    "Be sure that the information in \"Input data - General\" is correct.",
};

} // namespace

TNewMenu::TNewMenu(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("New"));

    auto* layout = new QVBoxLayout(this);
    int number = 1;
    for (const char* text : Instructions) {
        auto* label = new QLabel(QString::fromLatin1(text));
        label->setObjectName(QStringLiteral("Label%1").arg(number++));
        QFont larger = label->font();
        larger.setPointSizeF(larger.pointSizeF() * 1.2);
        label->setFont(larger);
        layout->addWidget(label);
    }

    ButtonOK = new QPushButton(QStringLiteral("OK"));
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonCancel = new QPushButton(QStringLiteral("Cancel"));
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    connect(ButtonOK, &QPushButton::clicked, this, &TNewMenu::ButtonOKClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TNewMenu::ButtonCancelClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);
    buttons->addStretch();
    layout->addSpacing(12);
    layout->addLayout(buttons);

    adjustSize();
    CentreOnScreen(*this);
}

void TNewMenu::ButtonOKClick() {
    hide();
}

void TNewMenu::ButtonCancelClick() {
    hide();
}

} // namespace zelmora::ui
