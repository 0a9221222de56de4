#pragma once

#include "analysis/analysis_progress.h"
#include "analysis/calculation_log.h"

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace zelmora::ui {

// The calculation window: the progress log an analysis writes into, its probability line, and
// how far a running analysis is, with the button that stops it.
class TCalc : public QWidget, public zelmora::CalculationLog {
    Q_OBJECT

public:
    explicit TCalc(QWidget* parent = nullptr);

    void Show() override;
    int LineCount() const override;
    void DeleteLine(int position) override;
    void AppendLine(const std::string& line) override;
    void SetProbabilityLabel(const std::string& text) override;

    void ExitButtonClick();

    // Stop is enabled only while an analysis runs.
    void AnalysisStarted();
    void ShowProgress(const AnalysisProgress& progress);
    // A note the analysis has for the user stays on the progress line until the next analysis.
    void ShowNote(const std::string& text);
    // The progress line keeps the totals; after a failure it also names the kept work copies.
    void AnalysisEnded(const std::string& keptWorkFolder);

    QPlainTextEdit* Memo1;
    QLabel* Label1;
    QLabel* LabelPF;
    QProgressBar* ProgressBar;
    QLabel* LabelProgress;
    QPushButton* ButtonStop;
    QPushButton* ExitButton;

signals:
    void StopRequested();

private:
    void ScrollToNewestLine();

    QString note;
};

} // namespace zelmora::ui
