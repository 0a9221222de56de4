#include "ui/mnu_corr.h"

#include "analysis/methods/correlation_check.h"
#include "analysis/methods/random_variables.h"
#include "project/errors.h"
#include "project/number_forms.h"
#include "project/project_state.h"
#include "project/shown_text.h"
#include "study/study.h"
#include "ui/message_boxes.h"
#include "ui/number_field.h"
#include "ui/set_names.h"
#include "ui/window_commands.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace zelmora::ui {
namespace {

QString StrengthName(int id) {
    const RandomVariable v = VariableOf(State.SoilTable, id);
    return QStringLiteral("%1 %2%3")
        .arg(v.friction ? QStringLiteral("φ") : QStringLiteral("c"))
        .arg(v.row)
        .arg(QString::fromStdString(SetNameSuffix(v.row)));
}

QTableWidgetItem* Cell(const QString& text, bool editable) {
    auto* item = new QTableWidgetItem(text);
    if (!editable)
        item->setFlags(Qt::NoItemFlags);
    return item;
}

double StoredRho(int a, int b) {
    for (const StrengthCorrelation& pair : ProjectStudy.settings.correlations)
        if ((pair.a == a && pair.b == b) || (pair.a == b && pair.b == a))
            return pair.rho;
    return 0;
}

QString RhoText(double rho) {
    return QString::fromStdString(FormatFixed(rho, 0, 4));
}

// ρ in a cell, or an error naming the pair.
double CellRho(const QTableWidgetItem& item, int a, int b) {
    const std::string text = item.text().trimmed().toStdString();
    const ParsedReal parsed = ParseReal(text);
    if (text.empty())
        return 0;
    if (parsed.errorPosition != 0)
        throw Error("ρ of " + StrengthName(a).toStdString() + " and " +
                    StrengthName(b).toStdString() + ": \"" + text + "\" is not a number.");
    return static_cast<double>(parsed.value);
}

} // namespace

TCorrelations::TCorrelations(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Correlations"));
    TableRho = new QTableWidget;
    TableRho->setObjectName(QStringLiteral("TableRho"));
    EditPhiC = new QLineEdit(QStringLiteral("-0.5"));
    EditPhiC->setObjectName(QStringLiteral("EditPhiC"));
    ButtonPhiC = new QPushButton(QStringLiteral("Set ρ(φ, c) of every set"));
    ButtonPhiC->setObjectName(QStringLiteral("ButtonPhiC"));
    TableNames = new QTableWidget;
    TableNames->setObjectName(QStringLiteral("TableNames"));
    ButtonOK = new QPushButton(QStringLiteral("OK"));
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonCancel = new QPushButton(QStringLiteral("Cancel"));
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));

    auto* phiC = new QHBoxLayout;
    phiC->addWidget(new QLabel(QStringLiteral("ρ(φ, c):")));
    phiC->addWidget(EditPhiC);
    phiC->addWidget(ButtonPhiC);
    phiC->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral(
        "ρ of the strengths themselves (φ in degrees, c in kN/m²), strictly between -1 and 1:")));
    layout->addWidget(TableRho);
    layout->addLayout(phiC);
    layout->addWidget(new QLabel(QStringLiteral("Names of the soil rows:")));
    layout->addWidget(TableNames);
    layout->addLayout(buttons);

    connect(ButtonPhiC, &QPushButton::clicked, this, &TCorrelations::ButtonPhiCClick);
    connect(ButtonOK, &QPushButton::clicked, this, &TCorrelations::ButtonOKClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TCorrelations::ButtonCancelClick);
    FormCreate();
}

void TCorrelations::FormCreate() {
    ids_ = RandomVariableIds(State.SoilTable);
    const int n = static_cast<int>(ids_.size());
    TableRho->clear();
    TableRho->setRowCount(n);
    TableRho->setColumnCount(n);
    QStringList names;
    for (const int id : ids_)
        names << StrengthName(id);
    TableRho->setHorizontalHeaderLabels(names);
    TableRho->setVerticalHeaderLabels(names);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            TableRho->setItem(i, j,
                              j < i ? Cell(RhoText(StoredRho(ids_[i], ids_[j])), true)
                                    : Cell(i == j ? QStringLiteral("1") : QString(), false));

    rows_.clear();
    for (const int id : ids_) {
        const int row = VariableOf(State.SoilTable, id).row;
        if (std::find(rows_.begin(), rows_.end(), row) == rows_.end())
            rows_.push_back(row);
    }
    std::sort(rows_.begin(), rows_.end());
    TableNames->clear();
    TableNames->setColumnCount(1);
    TableNames->setHorizontalHeaderLabels({QStringLiteral("Name")});
    TableNames->setRowCount(static_cast<int>(rows_.size()));
    TableNames->horizontalHeader()->setStretchLastSection(true);
    for (int k = 0; k < static_cast<int>(rows_.size()); ++k) {
        TableNames->setVerticalHeaderItem(
            k, new QTableWidgetItem(QStringLiteral("Row %1").arg(rows_[k])));
        const auto name = ProjectStudy.settings.setNames.find(rows_[k]);
        TableNames->setItem(
            k, 0,
            Cell(name == ProjectStudy.settings.setNames.end()
                     ? QString()
                     : QString::fromStdString(ShownText(name->second, std::string::npos)),
                 true));
    }
}

void TCorrelations::ButtonPhiCClick() {
    const std::optional<double> rho = ReadRealField(*EditPhiC, QStringLiteral("ρ(φ, c)"));
    if (!rho)
        return;
    for (std::size_t i = 0; i < ids_.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (ids_[j] == ids_[i] - SoilRowCount)
                TableRho->item(static_cast<int>(i), static_cast<int>(j))->setText(RhoText(*rho));
}

void TCorrelations::ButtonOKClick() {
    Guarded([&] {
        Correlations pairs;
        for (std::size_t i = 0; i < ids_.size(); ++i)
            for (std::size_t j = 0; j < i; ++j) {
                const double rho = CellRho(
                    *TableRho->item(static_cast<int>(i), static_cast<int>(j)), ids_[i], ids_[j]);
                if (rho != 0)
                    pairs.push_back({ids_[j], ids_[i], rho});
            }
        // The strengths the window lists, with the rows as the soil table holds them now.
        AnalysisInputs listed = InputsOf(State);
        listed.variables = ids_;
        CorrelationsInUse(pairs, listed, false);
        // Rows not listed keep their names, and so does a name left as it was shown: its
        // controls are shown as "?", which must not replace them unless the name is edited.
        const std::map<int, std::string>& stored = ProjectStudy.settings.setNames;
        std::map<int, std::string> names = stored;
        for (std::size_t k = 0; k < rows_.size(); ++k) {
            const QString name = TableNames->item(static_cast<int>(k), 0)->text().trimmed();
            const auto kept = stored.find(rows_[k]);
            if (kept != stored.end() &&
                name ==
                    QString::fromStdString(ShownText(kept->second, std::string::npos)).trimmed())
                continue;
            names.erase(rows_[k]);
            if (!name.isEmpty())
                names[rows_[k]] = name.toStdString();
        }
        ProjectStudy.settings.correlations = std::move(pairs);
        ProjectStudy.settings.setNames = std::move(names);
        hide();
    });
}

void TCorrelations::ButtonCancelClick() {
    hide();
}

} // namespace zelmora::ui
