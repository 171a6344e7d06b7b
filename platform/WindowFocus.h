// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// A control that has handlers for the window's own focus arriving and leaving.
class FocusHandlers {
public:
    virtual void ownFocusGained() = 0;
    virtual void ownFocusLost() = 0;

protected:
    ~FocusHandlers() = default;
};

// The focus of one window as the game sees it: the control that holds the
// input focus between the window's own controls. Qt's focus widget is not
// always that control. The menu bar takes the keyboard focus in menu mode
// (Alt, Escape out of a dropdown, F10), and a menu, a message box or another
// window takes it for a while; none of these is a move of the window's focus.
// A move happens only when another control of the window takes Qt's focus,
// from whatever state: then the control that held the focus hears that it lost
// it, before anything else reaches the control that took it, and that control
// hears that it gained it. Coming back to the control that held it is no move.
class WindowFocus : public QObject {
    Q_OBJECT
public:
    explicit WindowFocus(QWidget *window);
    ~WindowFocus() override;

    // The control that holds the window's focus, or null before the window
    // has first put its focus anywhere.
    QWidget *current() const { return current_; }

    // The focus of `window`, if it keeps one.
    static WindowFocus *of(const QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isControl(const QWidget *widget) const;
    void follow();
    void returnFromMenuBar();

    QWidget *window_;
    QPointer<QWidget> current_;
    bool handleWatched_ = false;
};
