#pragma once

#include <QWidget>
#include <array>

class QLabel;
class QPushButton;

namespace zelmora::ui {

class TSensitivity;

// The output window: every safety factor, beta, the probability of failure and the linearity.
class TOutMenu : public QWidget {
    Q_OBJECT

public:
    explicit TOutMenu(QWidget* parent = nullptr);

    // Copies the results into the value labels; recomputes FailureProbability from Beta. The
    // method's line comes from the sensitivity window's record.
    void FormCreate();
    void OKButtonClick();
    void CancelButtonClick();
    // Opens the sensitivity window, filled anew.
    void ButtonSensitivityClick();

    // Label[1..10]: the φ column, Label[11..20]: the c column (objectNames "Label1".."Label20").
    std::array<QLabel*, 21> Label{};
    QLabel* Label21;
    QLabel* Label22;
    QLabel* Label40;
    QLabel* Label42;
    QLabel* Label43;
    QLabel* Label44;
    QLabel* Label46;
    // Under the results: the line of the method that ran after the first-order analysis
    // (objectName "LabelMethodResult"); hidden when none did.
    QLabel* LabelMethodResult;
    QPushButton* OKButton;
    QPushButton* CancelButton;
    QPushButton* ButtonSensitivity;
    TSensitivity* Sensitivity; // lives as long as this window
};

} // namespace zelmora::ui
