// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/Accessibility.h"

#include "platform/LineControl.h"
#include "platform/PictureBox.h"

#include <QAccessibleWidget>
#include <QGroupBox>
#include <QLabel>

namespace {
bool isDecoration(const QAccessibleInterface *iface)
{
    return iface && qobject_cast<const LineControl *>(iface->object());
}

// A widget that holds other controls: its children as Qt lists them, less
// the decorative rules. A top-level window reads as a window (Qt would give
// a plain widget window the role of a client area).
class Container : public QAccessibleWidget {
public:
    explicit Container(QWidget *widget) : QAccessibleWidget(widget) {}

    QAccessible::Role role() const override
    {
        return widget()->isWindow() ? QAccessible::Window : QAccessibleWidget::role();
    }

    int childCount() const override { return int(readableChildren().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QList<QAccessibleInterface *> children = readableChildren();
        return index >= 0 && index < children.size() ? children.at(index) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return int(readableChildren().indexOf(const_cast<QAccessibleInterface *>(child)));
    }

protected:
    QList<QAccessibleInterface *> readableChildren() const
    {
        QList<QAccessibleInterface *> children;
        const int count = QAccessibleWidget::childCount();
        for (int i = 0; i < count; ++i) {
            QAccessibleInterface *child = QAccessibleWidget::child(i);
            if (child && !isDecoration(child))
                children.append(child);
        }
        return children;
    }
};

// A frame with a caption (the odds board): a group named by its caption that
// labels what it holds, as Qt's own group box reads, less the rules.
class Frame final : public Container {
public:
    explicit Frame(QGroupBox *box) : Container(box) {}

    QAccessible::Role role() const override { return QAccessible::Grouping; }

    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        if (text.isEmpty() && t == QAccessible::Name)
            text = box()->title().remove(QLatin1Char('&'));
        return text;
    }

    QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        auto relations = QAccessibleWidget::relations(match);
        if ((match & QAccessible::Labelled) && !box()->title().isEmpty()) {
            for (QAccessibleInterface *child : readableChildren())
                relations.append({child, QAccessible::Labelled});
        }
        return relations;
    }

private:
    QGroupBox *box() const { return static_cast<QGroupBox *>(widget()); }
};

// A picture control: an image (Qt reads a plain widget as a client area),
// named by its control's accessible name (the horse's number and colour).
class Picture final : public QAccessibleWidget {
public:
    explicit Picture(PictureBox *box) : QAccessibleWidget(box, QAccessible::Graphic) {}
};

// A decorative rule. No parent lists it; it only answers for itself when an
// event of its own (shown, hidden) reaches a screen reader: a separator with
// no name, not the caption of the frame it stands in.
class Rule final : public QAccessibleWidget {
public:
    explicit Rule(QWidget *line) : QAccessibleWidget(line, QAccessible::Separator) {}
    QString text(QAccessible::Text) const override { return {}; }
};

// Qt asks for an interface class by class, from the object's own class up
// to QObject, and takes the first it is given; this factory is asked before
// Qt's own.
QAccessibleInterface *interfaceFor(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    const QMetaObject *meta = object->metaObject();
    if (className == QLatin1String(meta->className())) {
        if (meta == &PictureBox::staticMetaObject)
            return new Picture(static_cast<PictureBox *>(widget));
        if (meta == &LineControl::staticMetaObject)
            return new Rule(widget);
        if (meta == &QGroupBox::staticMetaObject) {
            auto *box = static_cast<QGroupBox *>(widget);
            return box->isCheckable() ? nullptr : new Frame(box);
        }
        return nullptr;
    }
    // Reached QWidget: a widget of a class Qt has no interface for (the
    // windows, the window backgrounds). A widget whose own class reads as
    // QWidget is a plain one or one being destroyed (its class reads so
    // in QWidget's destructor): Qt's own interface, which knows about
    // widgets being destroyed, takes those.
    if (className == QLatin1String("QWidget") && meta != &QWidget::staticMetaObject)
        return new Container(widget);
    return nullptr;
}
} // namespace

namespace Accessibility {

void install()
{
    QAccessible::installFactory(interfaceFor);
}

void tieCaption(QLabel *caption, QWidget *control)
{
    // A label's buddy is how Qt relates a caption to what it names; with no
    // '&' in the caption there is no shortcut, and nothing else changes.
    caption->setBuddy(control);
}

} // namespace Accessibility
