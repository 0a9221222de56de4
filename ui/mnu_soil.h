#pragma once

#include <QWidget>
#include <array>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace zelmora::ui {

class TCorrelations;

// The soil data window: the ten rows of the soil strength table as 50 text fields.
class TSoilForm : public QWidget {
    Q_OBJECT

public:
    explicit TSoilForm(QWidget* parent = nullptr);

    // Copies SoilTable into the fields.
    void FormCreate();
    // Stores the fields into SoilTable when every one holds a number, then hides the window.
    void ButtonOKClick();
    void ButtonCancelClick();
    // Opens the correlations window for the strengths of the stored soil table.
    void ButtonCorrelationsClick();

    // Edit[1..50] with objectNames "Edit1".."Edit50"; row r uses 3r-2, 3r-1, 3r, 29+2r, 30+2r.
    std::array<QLineEdit*, 51> Edit{};
    QGroupBox* GroupBox1;
    QPushButton* ButtonOK;
    QPushButton* ButtonCancel;
    // Outside the Tab chain: reached by a click or Alt+C, so Tab from Cancel wraps to Edit1.
    QPushButton* ButtonCorrelations;
    TCorrelations* CorrelationsWindow;
};

} // namespace zelmora::ui
