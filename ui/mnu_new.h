#pragma once

#include <QWidget>

class QPushButton;

namespace zelmora::ui {

// The new-project window: how to start a new project. It changes no data.
class TNewMenu : public QWidget {
    Q_OBJECT

public:
    explicit TNewMenu(QWidget* parent = nullptr);

    void ButtonOKClick();
    void ButtonCancelClick();

    QPushButton* ButtonOK;
    QPushButton* ButtonCancel;
};

} // namespace zelmora::ui
