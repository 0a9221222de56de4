#include "ui/mnu_out.h"

#include "analysis/methods/approximate_tail_probability.h"
#include "project/number_forms.h"
#include "project/project_state.h"
#include "report/tables/method_result_line.h"
#include "ui/mnu_sens.h"
#include "ui/window_commands.h"

#include <QFile>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <exception>

namespace zelmora::ui {
namespace {

QString Text(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

QString Fixed(double value) {
    return Text(FormatFixed(value, 8, 4));
}

QLabel* ValueLabel(const QString& name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLabel* HeaderLabel(const QString& text) {
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

void PlaceCentred(QWidget& window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window.adjustSize();
    window.move(screen->availableGeometry().center() - window.rect().center());
}

} // namespace

TOutMenu::TOutMenu(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Output"));

    Label21 = ValueLabel(QStringLiteral("Label21"));
    Label22 = ValueLabel(QStringLiteral("Label22"));
    Label43 = new QLabel(QStringLiteral("Calculation with reduced values (all)"));
    Label43->setObjectName(QStringLiteral("Label43"));
    Label44 = ValueLabel(QStringLiteral("Label44"));
    for (int i = 1; i <= 20; ++i)
        Label[i] = ValueLabel(QStringLiteral("Label%1").arg(i));
    Label40 = ValueLabel(QStringLiteral("Label40"));
    Label42 = ValueLabel(QStringLiteral("Label42"));
    Label46 = ValueLabel(QStringLiteral("Label46"));
    LabelMethodResult = new QLabel;
    LabelMethodResult->setObjectName(QStringLiteral("LabelMethodResult"));
    LabelMethodResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long method line wraps within the window instead of widening it, in room kept for it,
    // so that the window keeps its size whether a method ran or not.
    LabelMethodResult->setWordWrap(true);
    LabelMethodResult->setMinimumHeight(2 * LabelMethodResult->fontMetrics().lineSpacing());
    OKButton = new QPushButton(QStringLiteral("OK"));
    OKButton->setObjectName(QStringLiteral("OKButton"));
    CancelButton = new QPushButton(QStringLiteral("Cancel"));
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    ButtonSensitivity = new QPushButton(QStringLiteral("Sensitivity..."));
    ButtonSensitivity->setObjectName(QStringLiteral("ButtonSensitivity"));
    Sensitivity = new TSensitivity(this);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    auto* title = new QLabel(QStringLiteral("Safety Factors"));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    title->setFont(titleFont);
    grid->addWidget(title, 0, 0, 1, 4);

    grid->addWidget(new QLabel(QStringLiteral("Normal Plaxis Calculation:")), 1, 0);
    grid->addWidget(Label21, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Calculation with mean values")), 2, 0);
    grid->addWidget(Label22, 2, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("(must be identical)")), 1, 3, 2, 1);
    grid->addWidget(Label43, 3, 0);
    grid->addWidget(Label44, 3, 1, 1, 2);

    auto* table = new QGridLayout;
    table->setHorizontalSpacing(24);
    table->setColumnMinimumWidth(0, 40);
    table->addWidget(HeaderLabel(QStringLiteral("φ")), 0, 1);
    table->addWidget(HeaderLabel(QStringLiteral("c")), 0, 2);
    for (int r = 1; r <= 10; ++r) {
        table->addWidget(new QLabel(QStringLiteral("%1.").arg(r)), r, 0);
        table->addWidget(Label[r], r, 1);
        table->addWidget(Label[10 + r], r, 2);
    }
    grid->addLayout(table, 4, 0, 11, 4, Qt::AlignHCenter);

    grid->addWidget(new QLabel(QStringLiteral("Beta:")), 15, 0);
    grid->addWidget(Label40, 15, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Probability of failure:")), 16, 0);
    grid->addWidget(Label42, 16, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Linearity:")), 17, 0);
    grid->addWidget(Label46, 17, 1, 1, 2);
    grid->addWidget(LabelMethodResult, 18, 0, 1, 4);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonSensitivity);
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    grid->addLayout(buttons, 19, 0, 1, 4);

    connect(OKButton, &QPushButton::clicked, this, &TOutMenu::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TOutMenu::CancelButtonClick);
    connect(ButtonSensitivity, &QPushButton::clicked, this, &TOutMenu::ButtonSensitivityClick);
    FormCreate();
    PlaceCentred(*this);
}

void TOutMenu::FormCreate() {
    Label21->setText(Fixed(Entry(State.SafetyFactors, -1)));
    Label22->setText(Fixed(Entry(State.SafetyFactors, 0)));
    Label44->setText(Fixed(Entry(State.SafetyFactors, -2)));
    for (int key = 1; key <= 20; ++key)
        Label[key]->setText(Fixed(Entry(State.SafetyFactors, key)));
    Label40->setText(Fixed(State.Beta));
    State.FailureProbability = TailProbability(State.Beta);
    Label42->setText(Text(FormatScientific(State.FailureProbability, 12)));
    Label46->setText(Fixed(State.Linearity));
    const AnalysisRecord* record = Sensitivity->Record;
    const bool ran = record && record->method && record->method->method != Method::FirstOrder;
    LabelMethodResult->setText(ran ? QString::fromStdString(MethodResultLine(*record->method))
                                   : QString());
}

void TOutMenu::OKButtonClick() {
    hide();
}

void TOutMenu::CancelButtonClick() {
    hide();
}

void TOutMenu::ButtonSensitivityClick() {
    Guarded([this] {
        Sensitivity->FormCreate();
        ShowWindow(Sensitivity);
    });
}

} // namespace zelmora::ui
