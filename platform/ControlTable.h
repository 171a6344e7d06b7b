// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QString>
#include <vector>

class QWidget;

// One row of a window's control table: what the control is, its name, its
// caption, where it stands and its font. Positions and sizes are in twips, as
// the window layouts give them.
struct ControlSpec {
    enum class Kind {
        Label,        // a transparent label in the box given (grown to its letters)
        SizedLabel,   // a label that takes its caption's size, at the box's left and top
        WrappedLabel, // a label that wraps its caption inside the box given, from its top left
        CheckBox,
        TextBox,    // an amount box: one line, input method off, no length limit
        Button,     // a CommandButton
        Frame,      // a group box with a caption
        Line,       // a horizontal rule from left to left + width at top, height thick
        TextArea,   // a multi-line text box in the box given
    };

    Kind kind;
    const char *name;
    const char *caption; // UTF-8
    double left;
    double top;
    double width = 0;
    double height = 0;
    double points = 0; // font size; 0 keeps the window's font
    bool bold = false;
    // What a screen reader calls the control (UTF-8); none: Qt's own name,
    // which is the caption of a button, check box or label.
    const char *accessibleName = nullptr;
};

// Makes the control of a row in `parent`: built, named, captioned, given its
// font and placed. Every window builds its controls through this.
QWidget *makeControl(QWidget *parent, const ControlSpec &spec);

// The same for a control of a kind of its own that the window has made (a
// button drawn in its own colour, say): named, given its font and placed as
// its row says. Returns the control.
QWidget *setUpControl(QWidget *control, const ControlSpec &spec);

// Fitting a control to its font (a label to its letters, a button or check box
// to its size hint) loads an engine for each font size and shapes each caption.
// A window built long before it shows (the main window, behind the splash) can
// leave that for later: while a Scope is open, makeControl places each control
// at its table rectangle only and notes it, and fit() later gives every noted
// control the room its font needs, exactly as makeControl would have at once.
class DeferredFitting {
public:
    class Scope {
    public:
        explicit Scope(DeferredFitting &fitting);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        DeferredFitting *outer_;
    };

    // Fits the noted controls, in the order they were made; later calls do nothing.
    void fit();

private:
    friend QWidget *setUpControl(QWidget *, const ControlSpec &);
    struct Pending {
        QPointer<QWidget> control;
        ControlSpec spec;
    };
    std::vector<Pending> pending_;
};

// The same, as the control's own type (which must match the row's kind).
template <class Control>
Control *makeControlAs(QWidget *parent, const ControlSpec &spec)
{
    return static_cast<Control *>(makeControl(parent, spec));
}
