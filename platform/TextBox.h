#pragma once

#include <QLineEdit>

// A one-line text box whose focus events are the game's: only a focus move
// between controls of the same window counts. A menu opening or closing, a
// message box, or another window being activated neither takes the focus
// from the box nor gives it back, so nothing fires for them.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent = nullptr);

signals:
    void gotFocus();
    void lostFocus();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    static bool isMoveWithinWindow(Qt::FocusReason reason);
    bool holdsFocus_ = false;
};
