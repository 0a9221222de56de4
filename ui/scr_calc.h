#pragma once

#include "analysis/calculation_log.h"

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zelmora::ui {

// The calculation window: the progress log an analysis writes into, and its probability line.
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

    QPlainTextEdit* Memo1;
    QLabel* Label1;
    QLabel* LabelPF;
    QPushButton* ExitButton;
};

} // namespace zelmora::ui
