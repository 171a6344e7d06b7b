// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/ControlTable.h"

#include "platform/CommandButton.h"
#include "platform/Fonts.h"
#include "platform/LineControl.h"
#include "platform/TextBox.h"
#include "platform/Twips.h"
#include "platform/WindowStyle.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <algorithm>
#include <utility>

namespace {
QWidget *create(QWidget *parent, const ControlSpec &spec, const QString &caption)
{
    using Kind = ControlSpec::Kind;
    switch (spec.kind) {
    case Kind::Label:
    case Kind::SizedLabel:
        return new QLabel(caption, parent);
    case Kind::WrappedLabel: {
        auto *label = new QLabel(caption, parent);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case Kind::CheckBox:
        return new QCheckBox(caption, parent);
    case Kind::TextBox: {
        auto *box = new TextBox(parent);
        box->setAttribute(Qt::WA_InputMethodEnabled, false); // input method off
        return box;
    }
    case Kind::Button:
        return new CommandButton(caption, parent);
    case Kind::Frame:
        return new QGroupBox(caption, parent);
    case Kind::Line:
        return new LineControl(parent, spec.left, spec.left + spec.width, spec.top,
                               std::max(1, Twips::toPixels(spec.height)));
    case Kind::TextArea: {
        auto *area = new QPlainTextEdit(parent);
        area->setPlainText(caption);
        return area;
    }
    }
    return nullptr;
}

// The controls whose size follows their font: all but the lines, frames and
// text areas, which take the table's rectangle as it is.
bool fitsItsFont(ControlSpec::Kind kind)
{
    using Kind = ControlSpec::Kind;
    return kind != Kind::Line && kind != Kind::Frame && kind != Kind::TextArea;
}

void fitToFont(QWidget *control, const ControlSpec &spec)
{
    if (spec.kind == ControlSpec::Kind::SizedLabel) {
        control->adjustSize();
        control->move(Twips::toPixels(spec.left), Twips::toPixels(spec.top));
    } else {
        placeControl(control, spec.left, spec.top, spec.width, spec.height);
    }
}

// The fitting the controls now being made wait for; the windows are all
// built on the one GUI thread.
DeferredFitting *deferredFitting = nullptr;
} // namespace

DeferredFitting::Scope::Scope(DeferredFitting &fitting) : outer_(deferredFitting)
{
    deferredFitting = &fitting;
}

DeferredFitting::Scope::~Scope()
{
    deferredFitting = outer_;
}

void DeferredFitting::fit()
{
    const std::vector<Pending> pending = std::exchange(pending_, {});
    for (const Pending &row : pending) {
        if (row.control)
            fitToFont(row.control, row.spec);
    }
}

QWidget *makeControl(QWidget *parent, const ControlSpec &spec)
{
    return setUpControl(create(parent, spec, QString::fromUtf8(spec.caption)), spec);
}

QWidget *setUpControl(QWidget *control, const ControlSpec &spec)
{
    control->setObjectName(QLatin1String(spec.name));
    if (spec.accessibleName)
        control->setAccessibleName(QString::fromUtf8(spec.accessibleName));
    if (spec.points > 0)
        control->setFont(Fonts::japanese(spec.points, spec.bold));
    if (spec.kind == ControlSpec::Kind::Line)
        return control; // placed as it is made
    if (!fitsItsFont(spec.kind)) {
        control->setGeometry(Twips::rect(spec.left, spec.top, spec.width, spec.height));
    } else if (deferredFitting) {
        // Where the table puts it for now; the room for its text comes with fit().
        control->setGeometry(Twips::rect(spec.left, spec.top, spec.width, spec.height));
        deferredFitting->pending_.push_back({control, spec});
    } else {
        fitToFont(control, spec);
    }
    return control;
}
