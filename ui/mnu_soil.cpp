#include "ui/mnu_soil.h"

#include "project/number_forms.h"
#include "project/project_state.h"
#include "ui/message_boxes.h"
#include "ui/mnu_corr.h"
#include "ui/number_field.h"
#include "ui/window_commands.h"

#include <QFile>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelmora::ui {
namespace {

// The fields of row r, in the order the row is filled and stored.
std::array<int, 5> RowFields(int r) {
    return {3 * r - 2, 3 * r - 1, 3 * r, 29 + 2 * r, 30 + 2 * r};
}

const std::array<const char*, 5> columnNames = {"set", "φ μ", "φ σ", "c μ", "c σ"};

QString FieldName(int r, int column) {
    return QStringLiteral("Row %1, %2").arg(r).arg(QString::fromUtf8(columnNames[column]));
}

QString Text(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

QLabel* CentredLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

TSoilForm::TSoilForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Soil data"));

    GroupBox1 = new QGroupBox(QStringLiteral("Soil Strength"));
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(GroupBox1);
    grid->addWidget(CentredLabel(QStringLiteral("set")), 0, 1, 2, 1, Qt::AlignBottom);
    grid->addWidget(CentredLabel(QStringLiteral("φ [degrees]")), 0, 2, 1, 2);
    grid->addWidget(CentredLabel(QStringLiteral("c [kN/m2]")), 0, 4, 1, 2);
    for (int column = 2; column <= 5; ++column)
        grid->addWidget(CentredLabel(column % 2 == 0 ? QStringLiteral("μ") : QStringLiteral("σ")),
                        1, column);

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const int digit = QFontMetrics(fixed).horizontalAdvance(QLatin1Char('0'));
    for (int r = 1; r <= SoilRowCount; ++r) {
        grid->addWidget(new QLabel(QStringLiteral("%1.").arg(r)), r + 1, 0);
        const std::array<int, 5> fields = RowFields(r);
        for (int column = 0; column < 5; ++column) {
            auto* edit = new QLineEdit;
            edit->setObjectName(QStringLiteral("Edit%1").arg(fields[column]));
            edit->setFont(fixed);
            // Room for "1234.5000" and more; set numbers are short.
            edit->setFixedWidth(digit * (column == 0 ? 8 : 13));
            Edit[fields[column]] = edit;
            grid->addWidget(edit, r + 1, column + 1);
        }
    }

    ButtonOK = new QPushButton(QStringLiteral("OK"));
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonCancel = new QPushButton(QStringLiteral("Cancel"));
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    ButtonCorrelations = new QPushButton(QStringLiteral("&Correlations..."));
    ButtonCorrelations->setObjectName(QStringLiteral("ButtonCorrelations"));
    ButtonCorrelations->setFocusPolicy(Qt::NoFocus);
    CorrelationsWindow = new TCorrelations(this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);
    buttons->addWidget(ButtonCorrelations);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addLayout(buttons);

    for (int i = 1; i < 50; ++i)
        setTabOrder(Edit[i], Edit[i + 1]);
    setTabOrder(Edit[50], ButtonOK);
    setTabOrder(ButtonOK, ButtonCancel);

    connect(ButtonOK, &QPushButton::clicked, this, &TSoilForm::ButtonOKClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TSoilForm::ButtonCancelClick);
    connect(ButtonCorrelations, &QPushButton::clicked, this, &TSoilForm::ButtonCorrelationsClick);
    FormCreate();
}

void TSoilForm::FormCreate() {
    for (int r = 1; r <= SoilRowCount; ++r) {
        const SoilSet& row = Row(State, r);
        const std::array<int, 5> fields = RowFields(r);
        Edit[fields[0]]->setText(Text(FormatInteger(row.SetNumber, 0)));
        const std::array<double, 4> reals = {row.PhiMean, row.PhiStdDev, row.CohesionMean,
                                             row.CohesionStdDev};
        for (int column = 1; column < 5; ++column)
            Edit[fields[column]]->setText(Text(FormatFixed(reals[column - 1], 8, 4)));
    }
}

void TSoilForm::ButtonOKClick() {
    Guarded([&] {
        std::array<SoilSet, SoilRowCount> table{};
        for (int r = 1; r <= SoilRowCount; ++r) {
            const std::array<int, 5> fields = RowFields(r);
            const std::optional<std::int32_t> set =
                ReadIntegerField(*Edit[fields[0]], FieldName(r, 0));
            if (!set)
                return;
            std::array<double, 4> reals{};
            for (int column = 1; column < 5; ++column) {
                const std::optional<double> value =
                    ReadRealField(*Edit[fields[column]], FieldName(r, column));
                if (!value)
                    return;
                reals[column - 1] = *value;
            }
            table[r - 1] = {*set, reals[0], reals[1], reals[2], reals[3]};
        }
        State.SoilTable = table;
        hide();
    });
}

void TSoilForm::ButtonCancelClick() {
    hide();
}

void TSoilForm::ButtonCorrelationsClick() {
    Guarded([&] {
        CorrelationsWindow->FormCreate();
        CorrelationsWindow->show();
        CorrelationsWindow->raise();
        CorrelationsWindow->activateWindow();
    });
}

} // namespace zelmora::ui
