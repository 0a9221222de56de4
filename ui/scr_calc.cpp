#include "ui/scr_calc.h"

#include "report/tables/method_result_line.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QVBoxLayout>
#include <algorithm>

namespace zelmora::ui {
namespace {

QString Text(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

void PlaceNearLowerLeft(QWidget& window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const int titleBar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    window.move(area.left() + 20, area.bottom() - window.height() - titleBar - 40);
}

} // namespace

TCalc::TCalc(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Calculation"));

    Memo1 = new QPlainTextEdit;
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setPlainText(QStringLiteral("Zelmora\n"));
    Label1 = new QLabel(QStringLiteral("probability of failure:"));
    Label1->setObjectName(QStringLiteral("Label1"));
    LabelPF = new QLabel(QStringLiteral("pf"));
    LabelPF->setObjectName(QStringLiteral("LabelPF"));
    LabelPF->setFont(Memo1->font());
    LabelMethodPF = new QLabel;
    LabelMethodPF->setObjectName(QStringLiteral("LabelMethodPF"));
    LabelMethodPF->setFont(Memo1->font());
    ProgressBar = new QProgressBar;
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, 1);
    ProgressBar->setValue(0);
    LabelProgress = new QLabel;
    LabelProgress->setObjectName(QStringLiteral("LabelProgress"));
    LabelProgress->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ButtonStop = new QPushButton(QStringLiteral("Stop"));
    ButtonStop->setObjectName(QStringLiteral("ButtonStop"));
    ButtonStop->setEnabled(false);
    ExitButton = new QPushButton(QStringLiteral("Exit"));
    ExitButton->setObjectName(QStringLiteral("ExitButton"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label1);
    bottom->addWidget(LabelPF);
    bottom->addWidget(LabelMethodPF);
    bottom->addStretch();
    bottom->addWidget(ButtonStop);
    bottom->addWidget(ExitButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1);
    layout->addWidget(ProgressBar);
    layout->addWidget(LabelProgress);
    layout->addLayout(bottom);

    connect(ExitButton, &QPushButton::clicked, this, &TCalc::ExitButtonClick);
    connect(ButtonStop, &QPushButton::clicked, this, &TCalc::StopRequested);
    resize(560, 420);
    PlaceNearLowerLeft(*this);
}

void TCalc::Show() {
    show();
    raise();
}

int TCalc::LineCount() const {
    return Memo1->document()->isEmpty() ? 0 : Memo1->blockCount();
}

void TCalc::DeleteLine(int position) {
    if (position < 0 || position >= LineCount())
        return;
    const QTextBlock block = Memo1->document()->findBlockByNumber(position);
    QTextCursor cursor(block);
    if (block.next().isValid()) {
        cursor.setPosition(block.next().position(), QTextCursor::KeepAnchor);
    } else if (block.previous().isValid()) {
        // The last line takes the line end before it along.
        cursor.setPosition(block.previous().position() + block.previous().length() - 1);
        cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    } else {
        cursor.select(QTextCursor::BlockUnderCursor);
    }
    cursor.removeSelectedText();
}

void TCalc::AppendLine(const std::string& line) {
    Memo1->appendPlainText(Text(line));
    ScrollToNewestLine();
}

// The text cursor goes along to the end: left at the top, it would pull the view (and the
// scroll bar's handle) back there at the next layout.
void TCalc::ScrollToNewestLine() {
    QTextCursor end(Memo1->document());
    end.movePosition(QTextCursor::End);
    Memo1->setTextCursor(end);
    QScrollBar* bar = Memo1->verticalScrollBar();
    bar->setValue(bar->maximum());
}

void TCalc::AnalysisStarted() {
    ButtonStop->setEnabled(true);
    ProgressBar->setRange(0, 1);
    ProgressBar->setValue(0);
    LabelProgress->clear();
    LabelMethodPF->clear();
    notes_.clear();
}

void TCalc::ShowProgress(const AnalysisProgress& progress) {
    ProgressBar->setRange(0, std::max(progress.total, 1));
    ProgressBar->setValue(progress.done);
    LabelProgress->setText(QString::fromStdString(FormatProgress(progress)) + notes_);
}

void TCalc::ClearNotes() {
    notes_.clear();
    LabelProgress->clear();
}

void TCalc::ShowNote(const std::string& text) {
    notes_ += QStringLiteral(" \u00b7 ") + Text(text);
    const QString shown = LabelProgress->text();
    LabelProgress->setText(shown.isEmpty() ? Text(text)
                                           : shown + QStringLiteral(" \u00b7 ") + Text(text));
}

void TCalc::AnalysisEnded(const std::string& keptWorkFolder) {
    ButtonStop->setEnabled(false);
    if (!keptWorkFolder.empty()) {
        LabelProgress->setText(LabelProgress->text() +
                               QStringLiteral(" \u00b7 the runs' copies are kept in ") +
                               Text(keptWorkFolder));
    }
    ScrollToNewestLine();
}

void TCalc::AnalysisFailed(const std::string& failedRun) {
    LabelProgress->setText(QStringLiteral("Analysis failed: ") + Text(failedRun) + notes_);
    LabelMethodPF->clear();
}

void TCalc::ShowMethodProbability(const std::optional<MethodResult>& method) {
    const bool ran = method && method->method != Method::FirstOrder;
    LabelMethodPF->setText(ran ? QString::fromStdString(MethodProbabilityLine(*method))
                               : QString());
}

void TCalc::SetProbabilityLabel(const std::string& text) {
    LabelPF->setText(Text(text));
}

void TCalc::ExitButtonClick() {
    hide();
}

} // namespace zelmora::ui
