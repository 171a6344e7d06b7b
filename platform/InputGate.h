// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

// Shuts the player out of every window of the program while the game is busy
// (a race): mouse, keyboard, wheel, context-menu, touch and drag-and-drop
// events are discarded, not postponed, so nothing is clicked after the race
// that was aimed at it before. Requests to close a window are held and
// delivered, in order and once per window, when the game asks for them.
class InputGate : public QObject {
    Q_OBJECT
public:
    InputGate();
    ~InputGate() override;

    // Closes the gate and opens it again when the guard goes out of scope.
    class Closed {
    public:
        explicit Closed(InputGate &gate) : gate_(gate) { gate_.close(); }
        ~Closed() { gate_.open(); }
        Closed(const Closed &) = delete;
        Closed &operator=(const Closed &) = delete;

    private:
        InputGate &gate_;
    };

    bool isClosed() const { return closed_; }
    void close();
    void open();
    // Delivers the close requests held while the gate was closed, in order,
    // once per window.
    void deliverHeldCloses();

    static bool isUserInput(int eventType);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool closed_ = false;
    QList<QPointer<QWidget>> heldCloses_;
};
