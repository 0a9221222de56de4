#pragma once

#include <QWidget>
#include <vector>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace zelmora::ui {

// The correlations window: ρ for each pair of the random strengths of the stored soil table,
// as a lower triangle, and a name for each row that has a random strength. OK stores both into
// the study settings, Cancel leaves them as they were.
class TCorrelations : public QWidget {
    Q_OBJECT

public:
    explicit TCorrelations(QWidget* parent = nullptr);

    // Lists the random strengths of State's soil table with the stored ρ and names.
    void FormCreate();
    // Sets ρ(φ, c) of every row whose φ and c are both random to the value of EditPhiC.
    void ButtonPhiCClick();
    // Stores when every ρ is a number strictly between -1 and 1 and together they form a valid
    // correlation matrix; otherwise an error box says why and the window stays open.
    void ButtonOKClick();
    void ButtonCancelClick();

    QTableWidget* TableRho; // row i, column j < i: ρ of strengths i and j
    QLineEdit* EditPhiC;    // ρ(φ, c) for ButtonPhiC, "-0.5" at first
    QPushButton* ButtonPhiC;
    QTableWidget* TableNames; // one row per soil row with a random strength
    QPushButton* ButtonOK;
    QPushButton* ButtonCancel;

private:
    std::vector<int> ids_;  // the strengths of TableRho's rows and columns
    std::vector<int> rows_; // the soil rows of TableNames's rows
};

} // namespace zelmora::ui
