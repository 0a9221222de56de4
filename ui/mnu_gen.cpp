#include "ui/mnu_gen.h"

#include "project/number_forms.h"
#include "project/project_state.h"
#include "study/study.h"
#include "ui/message_boxes.h"
#include "ui/number_field.h"
#include "ui/user_settings.h"
#include "ui/window_commands.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>

namespace zelmora::ui {
namespace {

QString Text(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

// What a text field stores on OK: the bytes it was filled with unless the user changed it, so
// a path that is not valid in the local encoding survives a round trip through the window.
std::string StoredBytes(const QLineEdit& field, const std::string& filled) {
    if (!field.isModified() || field.text() == Text(filled))
        return filled;
    return QFile::encodeName(field.text()).toStdString();
}

double ClampStepSize(double step) {
    if (step > 1.0)
        step = 1.0;
    if (step < 0.1)
        step = 0.1;
    return step;
}

QPushButton* Button(const QString& caption, const QString& name) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    return button;
}

QLineEdit* Field(const QString& name) {
    auto* field = new QLineEdit;
    field->setObjectName(name);
    return field;
}

} // namespace

TGeneralForm::TGeneralForm(QWidget* parent)
    : QWidget(parent, Qt::Window),
      OpenDialogPlax(FileDialog::Mode::Open,
                     {QStringLiteral("Batch.exe (*.exe)"), QStringLiteral("all (*)")}),
      OpenDialogProj(FileDialog::Mode::Open,
                     {QStringLiteral("Project.plx (*.plx)"), QStringLiteral("all (*)")}) {
    setWindowTitle(QStringLiteral("General"));

    Edit1 = Field(QStringLiteral("Edit1"));
    Edit2 = Field(QStringLiteral("Edit2"));
    Edit3 = Field(QStringLiteral("Edit3"));
    Edit4 = Field(QStringLiteral("Edit4"));
    Edit1->setMinimumWidth(Edit1->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 48);
    Edit4->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Edit4->setMaximumWidth(QFontMetrics(Edit4->font()).horizontalAdvance(QLatin1Char('0')) * 14);
    SpinParallelRuns = new QSpinBox;
    SpinParallelRuns->setObjectName(QStringLiteral("SpinParallelRuns"));
    SpinParallelRuns->setRange(1, MaxParallelRuns);
    ComboMethod = new QComboBox;
    ComboMethod->setObjectName(QStringLiteral("ComboMethod"));
    // In the order of Method, whose values the items' indices are.
    for (const Method method : {Method::FirstOrder, Method::Taylor, Method::Form})
        ComboMethod->addItem(QString::fromStdString(MethodTitle(method)));
    ComboStrengths = new QComboBox;
    ComboStrengths->setObjectName(QStringLiteral("ComboStrengths"));
    ComboStrengths->addItems({QStringLiteral("normal"), QStringLiteral("lognormal")});
    ComboSampling = new QComboBox;
    ComboSampling->setObjectName(QStringLiteral("ComboSampling"));
    ComboSampling->addItems({QStringLiteral("None"), QStringLiteral("Importance sampling"),
                             QStringLiteral("Monte Carlo"), QStringLiteral("Surrogate")});
    SpinSamples = new QSpinBox;
    SpinSamples->setObjectName(QStringLiteral("SpinSamples"));
    SpinSamples->setRange(LeastSamples, MostSamples);
    SpinBatch = new QSpinBox;
    SpinBatch->setObjectName(QStringLiteral("SpinBatch"));
    SpinBatch->setRange(LeastBatch, MostBatch);
    SpinMaxRuns = new QSpinBox;
    SpinMaxRuns->setObjectName(QStringLiteral("SpinMaxRuns"));
    SpinMaxRuns->setRange(LeastRuns, MostRuns);
    EditTargetCov = Field(QStringLiteral("EditTargetCov"));
    EditSeed = Field(QStringLiteral("EditSeed"));
    const int digit = EditSeed->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    EditTargetCov->setFixedWidth(digit * 8);
    EditSeed->setFixedWidth(digit * 12);
    EditTargetBeta = Field(QStringLiteral("EditTargetBeta"));
    EditTargetBeta->setMaximumWidth(Edit4->maximumWidth());
    EditJob = Field(QStringLiteral("EditJob"));
    EditClient = Field(QStringLiteral("EditClient"));
    EditPreparedBy = Field(QStringLiteral("EditPreparedBy"));
    EditCheckedBy = Field(QStringLiteral("EditCheckedBy"));
    CheckBox = new QCheckBox(QStringLiteral("Show Calculations"));
    CheckBox->setObjectName(QStringLiteral("CheckBox"));
    ButtonOK = Button(QStringLiteral("OK"), QStringLiteral("ButtonOK"));
    ButtonCancel = Button(QStringLiteral("Cancel"), QStringLiteral("ButtonCancel"));
    ButtonChangePlax = Button(QStringLiteral("Change"), QStringLiteral("ButtonChangePlax"));
    ButtonChangeProj = Button(QStringLiteral("Change"), QStringLiteral("ButtonChangeProj"));

    auto* grid = new QGridLayout(this);
    const auto addSetting = [grid](int row, const QString& label, QWidget* field,
                                   const QString& example) {
        grid->addWidget(new QLabel(label), row, 0);
        grid->addWidget(field, row, 1);
        grid->addWidget(new QLabel(example), row + 1, 1);
    };
    addSetting(0, QStringLiteral("Directory Plaxis"), Edit1,
               QStringLiteral("(for example: c:\\program files\\Plaxis8x\\batch.exe)"));
    grid->addWidget(ButtonChangePlax, 0, 2);
    addSetting(2, QStringLiteral("Project file name (full)"), Edit2,
               QStringLiteral("(for example: c:\\progs\\zelmora\\plaxis\\test.plx)"));
    grid->addWidget(ButtonChangeProj, 2, 2);
    addSetting(4, QStringLiteral("Project name"), Edit3,
               QStringLiteral("(test.plx without extension of .plx!)"));

    auto* step = new QHBoxLayout;
    step->addWidget(Edit4);
    step->addWidget(new QLabel(QStringLiteral("times σ")));
    step->addStretch();
    grid->addWidget(new QLabel(QStringLiteral("Step size:")), 6, 0);
    grid->addLayout(step, 6, 1);
    grid->addWidget(
        new QLabel(QStringLiteral("(Sensitivity is calculated with μ minus \"Stepsize\" "
                                  "times σ. If the Safety Factor drops below \"1\"; "
                                  "reduce stepsize)")),
        7, 0, 1, 3);
    auto* parallel = new QHBoxLayout;
    parallel->addWidget(SpinParallelRuns);
    parallel->addStretch();
    grid->addWidget(new QLabel(QStringLiteral("Parallel runs")), 8, 0);
    grid->addLayout(parallel, 8, 1);
    grid->addWidget(new QLabel(QStringLiteral("(1: one run after the other in the project's own "
                                              "folder; more: copies of the project side by side)")),
                    9, 0, 1, 3);
    auto* method = new QHBoxLayout;
    method->addWidget(ComboMethod);
    method->addWidget(new QLabel(QStringLiteral("Strengths:")));
    method->addWidget(ComboStrengths);
    method->addStretch();
    grid->addWidget(new QLabel(QStringLiteral("Method")), 10, 0);
    grid->addLayout(method, 10, 1);
    grid->addWidget(new QLabel(QStringLiteral("(after the first-order analysis; the strengths "
                                              "are those of FORM and of the sampling check)")),
                    11, 0, 1, 3);
    auto* sampling = new QHBoxLayout;
    sampling->addWidget(ComboSampling);
    sampling->addWidget(new QLabel(QStringLiteral("Samples at most:")));
    sampling->addWidget(SpinSamples);
    sampling->addWidget(new QLabel(QStringLiteral("Target CoV:")));
    sampling->addWidget(EditTargetCov);
    sampling->addWidget(new QLabel(QStringLiteral("Seed:")));
    sampling->addWidget(EditSeed);
    sampling->addStretch();
    grid->addWidget(new QLabel(QStringLiteral("Sampling check")), 12, 0);
    grid->addLayout(sampling, 12, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("(after the method; importance sampling starts "
                                              "from FORM's design point)")),
                    13, 0, 1, 3);
    auto* target = new QHBoxLayout;
    target->addWidget(EditTargetBeta);
    target->addWidget(new QLabel(QStringLiteral("(the report judges the β relied on against it)")));
    target->addStretch();
    grid->addWidget(new QLabel(QStringLiteral("Target β")), 14, 0);
    grid->addLayout(target, 14, 1);
    grid->addWidget(CheckBox, 15, 0, 1, 2);
    auto* surrogate = new QHBoxLayout;
    surrogate->addWidget(new QLabel(QStringLiteral("Runs per round:")));
    surrogate->addWidget(SpinBatch);
    surrogate->addWidget(new QLabel(QStringLiteral("Runs at most:")));
    surrogate->addWidget(SpinMaxRuns);
    surrogate->addStretch();
    grid->addWidget(new QLabel(QStringLiteral("Surrogate")), 16, 0);
    grid->addLayout(surrogate, 16, 1, 1, 2);
    int row = 17;
    for (const auto& [label, field] : {std::pair{QStringLiteral("Job"), EditJob},
                                       {QStringLiteral("Client"), EditClient},
                                       {QStringLiteral("Prepared by"), EditPreparedBy},
                                       {QStringLiteral("Checked by"), EditCheckedBy}}) {
        grid->addWidget(new QLabel(label), row, 0);
        grid->addWidget(field, row++, 1);
    }
    grid->addWidget(new QLabel(QStringLiteral("(printed on the report's first page; left empty, "
                                              "a line to fill in by hand)")),
                    row++, 0, 1, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);
    grid->addLayout(buttons, row, 0, 1, 3);

    connect(ButtonOK, &QPushButton::clicked, this, &TGeneralForm::ButtonOKClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TGeneralForm::ButtonCancelClick);
    connect(ButtonChangePlax, &QPushButton::clicked, this, &TGeneralForm::ButtonChangePlaxClick);
    connect(ButtonChangeProj, &QPushButton::clicked, this, &TGeneralForm::ButtonChangeProjClick);
    FormCreate();
}

void TGeneralForm::FormCreate() {
    filledBatchPath = State.BatchPath;
    filledProjectPath = State.ProjectPath;
    filledProjectName = State.ProjectName;
    Edit1->setText(Text(filledBatchPath));
    Edit2->setText(Text(filledProjectPath));
    Edit3->setText(Text(filledProjectName));
    Edit4->setText(Text(FormatFixed(State.StepSize, 8, 4)));
    CheckBox->setChecked(State.ShowCalculations);
    SpinParallelRuns->setValue(ParallelRunsSetting());
    ComboMethod->setCurrentIndex(static_cast<int>(ProjectStudy.settings.method));
    ComboStrengths->setCurrentIndex(static_cast<int>(ProjectStudy.settings.strengths));
    EditTargetBeta->setText(Text(FormatFixed(ProjectStudy.settings.targetBeta, 0, 4)));
    const SignOff& signOff = ProjectStudy.settings.signOff;
    EditJob->setText(QString::fromUtf8(signOff.job.c_str()));
    EditClient->setText(QString::fromUtf8(signOff.client.c_str()));
    EditPreparedBy->setText(QString::fromUtf8(signOff.preparedBy.c_str()));
    EditCheckedBy->setText(QString::fromUtf8(signOff.checkedBy.c_str()));
    const SamplingSettings& sampling = ProjectStudy.settings.sampling;
    ComboSampling->setCurrentIndex(static_cast<int>(sampling.kind));
    SpinSamples->setValue(sampling.samples);
    SpinBatch->setValue(sampling.batch);
    SpinMaxRuns->setValue(sampling.maxRuns);
    EditTargetCov->setText(
        QString::number(sampling.targetCov, 'g', QLocale::FloatingPointShortest));
    EditSeed->setText(QString::number(sampling.seed));
}

bool TGeneralForm::StoreSampling() {
    const std::optional<double> target =
        ReadRealField(*EditTargetCov, QStringLiteral("Target CoV"));
    if (!target)
        return false;
    if (!(*target > 0 && *target < 1)) {
        ShowMessage(MessageKind::Error,
                    QStringLiteral("Target CoV: it must lie between 0 and 1, both excluded."));
        EditTargetCov->setFocus();
        return false;
    }
    const QString seedText = EditSeed->text().trimmed();
    bool digits = !seedText.isEmpty();
    for (const QChar c : seedText)
        digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    bool read = false;
    const qulonglong seed = seedText.toULongLong(&read, 10);
    if (!digits || !read) {
        ShowMessage(MessageKind::Error,
                    QStringLiteral("Seed: \"%1\" is not a whole number from 0 to "
                                   "18446744073709551615.")
                        .arg(seedText));
        EditSeed->setFocus();
        return false;
    }
    SamplingSettings& sampling = ProjectStudy.settings.sampling;
    sampling.kind = static_cast<SamplingKind>(ComboSampling->currentIndex());
    sampling.samples = SpinSamples->value();
    sampling.batch = SpinBatch->value();
    sampling.maxRuns = SpinMaxRuns->value();
    sampling.targetCov = *target;
    sampling.seed = seed;
    return true;
}

void TGeneralForm::ButtonOKClick() {
    Guarded([&] {
        const std::optional<double> step = ReadRealField(*Edit4, QStringLiteral("Step size"));
        if (!step)
            return;
        const std::optional<double> targetBeta =
            ReadRealField(*EditTargetBeta, QStringLiteral("Target β"));
        if (!targetBeta)
            return;
        if (!(*targetBeta > 0 && *targetBeta <= MostTargetBeta)) {
            ShowMessage(MessageKind::Error,
                        QStringLiteral("Target β: give a number above 0 and up to 10."));
            EditTargetBeta->setFocus();
            return;
        }
        if (!StoreSampling())
            return;
        State.BatchPath = StoredBytes(*Edit1, filledBatchPath);
        State.ProjectPath = StoredBytes(*Edit2, filledProjectPath);
        State.ProjectName = StoredBytes(*Edit3, filledProjectName);
        State.StepSize = ClampStepSize(*step);
        State.ShowCalculations = CheckBox->isChecked();
        StoreParallelRunsSetting(SpinParallelRuns->value());
        ProjectStudy.settings.method = static_cast<Method>(ComboMethod->currentIndex());
        ProjectStudy.settings.strengths =
            static_cast<StrengthDistribution>(ComboStrengths->currentIndex());
        ProjectStudy.settings.targetBeta = *targetBeta;
        ProjectStudy.settings.signOff = {EditJob->text().toUtf8().toStdString(),
                                         EditClient->text().toUtf8().toStdString(),
                                         EditPreparedBy->text().toUtf8().toStdString(),
                                         EditCheckedBy->text().toUtf8().toStdString()};
        hide();
    });
}

void TGeneralForm::ButtonCancelClick() {
    hide();
}

void TGeneralForm::ButtonChangePlaxClick() {
    ChangePath(OpenDialogPlax, State.BatchPath);
}

void TGeneralForm::ButtonChangeProjClick() {
    ChangePath(OpenDialogProj, State.ProjectPath);
}

void TGeneralForm::ChangePath(FileDialog& dialog, std::string& path) {
    Guarded([&] {
        dialog.fileName = Text(path);
        // A cancelled dialog leaves the preset, which is the path itself: keep its bytes as they
        // are.
        const std::string chosen =
            dialog.Execute(this) ? QFile::encodeName(dialog.fileName).toStdString() : path;
        if (chosen.empty()) {
            ShowMessage(MessageKind::Error, QStringLiteral("No file selected !"));
            return;
        }
        path = chosen;
        hide();
        show();
        raise();
        FormCreate();
    });
}

} // namespace zelmora::ui
