#pragma once

#include "analysis/methods/calculation_log.h"
#include "analysis/methods/method_result.h"
#include "analysis/runs/analysis_progress.h"

#include <QWidget>
#include <optional>

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
    // A note the analysis or Open has for the user: it stays on the progress line, after the
    // progress, until the next analysis starts.
    void ShowNote(const std::string& text);
    // Empties the progress line and its notes: a project was opened.
    void ClearNotes();
    // The progress line keeps the totals; after a failure it also names the kept work copies.
    void AnalysisEnded(const std::string& keptWorkFolder);
    // After a failed analysis the progress line names the run that failed ("run 4 (c of row 2
    // lowered)"), and no method's probability is left standing beside the first-order one.
    void AnalysisFailed(const std::string& failedRun);
    // Beside the first-order probability, the method's once it is known; nothing for none.
    void ShowMethodProbability(const std::optional<MethodResult>& method);

    QPlainTextEdit* Memo1;
    QLabel* Label1;
    QLabel* LabelPF;
    QLabel* LabelMethodPF; // objectName "LabelMethodPF"
    QProgressBar* ProgressBar;
    QLabel* LabelProgress;
    QPushButton* ButtonStop;
    QPushButton* ExitButton;

signals:
    void StopRequested();

private:
    void ScrollToNewestLine();

    QString notes_;
};

} // namespace zelmora::ui
