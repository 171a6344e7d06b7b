// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/WebPage.h"

#include "platform/WindowStyle.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <emscripten.h>
#include <string>

namespace {
// What the program tells the page. A page without its side (web/page-input.js)
// still plays, with a hardware keyboard and a mouse.
//  - An amount box has taken the keyboard, or none has. The box is told by a
//    number of its own: a composition begun in one box is not typed into
//    another.
EM_JS(void, pageTextEntry, (int on, int box, int x, int y, int width, int height), {
    if (window.rumidaPage)
        window.rumidaPage.textEntry(!!on, {box: box, x: x, y: y, w: width, h: height});
});

//  - The size of the largest open window (with a margin).
EM_JS(void, pageScreenNeeds, (int width, int height), {
    if (window.rumidaPage)
        window.rumidaPage.screenNeeds(width, height);
});

// What the page asks of the program: where the box's caret is, to begin an
// input method's composition there; to draw its windows again; and to type a
// run of characters.
EM_JS(void, pageConnect, (), {
    if (!window.rumidaPage)
        return;
    window.rumidaPage.connect({
        caretX: function() { return _rumida_page_caret_x(); },
        repaint: function() { _rumida_page_repaint(); },
        typeRun: function(text) {
            var buffer = _rumida_page_text(text.length);
            stringToUTF16(text, buffer, 2 * text.length + 2);
            _rumida_page_type(text.length);
        }
    });
});

// The text the page hands over, in UTF-16.
std::u16string &pageText()
{
    static std::u16string text;
    return text;
}

// Room left around the largest window on a scaled screen, in pixels.
constexpr int Margin = 6;

// Set on a window the player has dragged.
constexpr char MovedByPlayer[] = "rumidaMovedByPlayer";

bool isWindowOfGame(const QWidget *widget)
{
    return widget->isWindow() && widget->isVisible() && widget->windowType() != Qt::Popup
           && widget->windowType() != Qt::ToolTip;
}

// The box that has the keyboard: an enabled, editable line edit with Qt's
// focus in the active window. Every other control leaves the page's field
// without a keyboard (no other control of the game takes text). The focus
// object, not QApplication::focusWidget(): Qt announces a new focus object
// before it updates its focus widget.
QLineEdit *textEntry()
{
    auto *edit = qobject_cast<QLineEdit *>(QGuiApplication::focusObject());
    if (!edit || !edit->isEnabled() || edit->isReadOnly() || !edit->window()->isActiveWindow())
        return nullptr;
    return edit;
}

// The page's pixels per point have changed (its scale): every window is drawn
// again, each of its controls. Qt 6.4 for WebAssembly makes a window's picture
// afresh at the new ratio when it next draws any of it, and Qt's widgets,
// which take what they drew before to be there still, draw only what they
// were asked to: the rest of the window would stay black. An update of the
// window alone leaves its controls out.
void repaintWindows()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (!isWindowOfGame(window))
            continue;
        window->update();
        for (QWidget *control : window->findChildren<QWidget *>())
            control->update();
    }
}

class PageWatch final : public QObject {
public:
    PageWatch()
    {
        qApp->installEventFilter(this);
        connect(qApp, &QGuiApplication::focusObjectChanged, this, &PageWatch::followFocus);
        // The page may take the activation from a closed window some time
        // after it has gone.
        connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *window) {
            QTimer::singleShot(0, this, window ? &PageWatch::followFocusWindow : &PageWatch::giveActivationBack);
        });
        if (QScreen *screen = QGuiApplication::primaryScreen())
            connect(screen, &QScreen::geometryChanged, this, &PageWatch::screenChanged);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Hide:
            if (watched->isWidgetType())
                windowClosed(static_cast<QWidget *>(watched));
            [[fallthrough]];
        case QEvent::Show:
        case QEvent::Resize:
            if (watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow())
                needsChanged();
            break;
        case QEvent::Move:
            // A window moved while the mouse (or a finger) is down is being
            // dragged by the player: it is no longer where the game put it.
            if (watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow()
                && QGuiApplication::mouseButtons() != Qt::NoButton)
                watched->setProperty(MovedByPlayer, true);
            followFocus();
            break;
        case QEvent::WindowActivate:
            if (watched->isWidgetType())
                windowActivated(static_cast<QWidget *>(watched));
            followFocus();
            break;
        case QEvent::EnabledChange:
        case QEvent::ReadOnlyChange:
        case QEvent::WindowDeactivate:
            // The box's place on the page, or whether it takes text.
            followFocus();
            break;
        default:
            break;
        }
        return false;
    }

private:
    // A desktop gives the activation, when the active window closes, to the
    // window that was active before it. The page hands it to the window
    // last pressed, and that was the window now gone (a side window closed
    // by its button, a popup menu by one of its items): no window would have
    // the keyboard, and what the player typed next would go nowhere. The
    // window of the game that was active last takes it back, unless the
    // closing activated another (a message box, a side window).
    void windowClosed(QWidget *window)
    {
        if (!window->isWindow())
            return;
        QTimer::singleShot(0, this, &PageWatch::giveActivationBack);
        if (window->windowType() != Qt::Popup)
            return;
        QTimer::singleShot(0, this, &PageWatch::followFocusWindow);
        // A context menu is deleted once closed, which takes the activation again.
        if (window->testAttribute(Qt::WA_DeleteOnClose))
            connect(window, &QObject::destroyed, this, [this] { QTimer::singleShot(0, this, &PageWatch::giveActivationBack); });
    }

    void giveActivationBack()
    {
        const QWidget *active = QApplication::activeWindow();
        if ((active && active->isVisible()) || QApplication::activeModalWidget())
            return;
        // The page has activated a window of the game since (a window opened
        // by a menu's item, whose activation Qt's widgets have not heard of yet):
        // that one keeps it.
        if (const QWindow *focus = QGuiApplication::focusWindow();
            focus && focus->isVisible() && focus->type() != Qt::Popup) {
            followFocusWindow();
            return;
        }
        for (auto last = activated_.crbegin(); last != activated_.crend(); ++last) {
            if (*last && (*last)->isVisible()) {
                (*last)->activateWindow();
                return;
            }
        }
    }

    // Qt's widgets keep the activation where it was when the page activates a
    // window while a menu is open (a tap on the main window's menu bar with a
    // side window active), and hear nothing more of it once the menu closes:
    // the page's keys would go to one window while another shows as active and
    // holds the focus, and asking that first window to come active would
    // change nothing. With no menu open, the widgets follow the page.
    void followFocusWindow()
    {
        const QWindow *focus = QGuiApplication::focusWindow();
        if (!focus || QApplication::activePopupWidget())
            return;
        const QWidget *modal = QApplication::activeModalWidget();
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->windowHandle() != focus)
                continue;
            if (isWindowOfGame(window) && window != QApplication::activeWindow() && (!modal || modal == window))
                QApplication::setActiveWindow(window);
            return;
        }
    }

    // The game's windows in the order they were last activated. A press on a
    // window that a message box blocks activates it all the same on the page
    // (a second tap on a button that has just asked a question): the box would
    // lose the keyboard, and Enter or Escape would go nowhere while it waits
    // for an answer. The box takes the activation back, as a desktop keeps it.
    void windowActivated(QWidget *window)
    {
        if (!window->isWindow() || window->windowType() == Qt::Popup || !isWindowOfGame(window))
            return;
        // Pressed last all the same: it comes back first once the box has gone.
        activated_.removeIf([window](const QPointer<QWidget> &w) { return !w || w == window; });
        activated_.append(window);
        if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != window) {
            QTimer::singleShot(0, modal, [modal] {
                if (modal->isVisible() && QApplication::activeModalWidget() == modal)
                    modal->activateWindow();
            });
        }
    }

    void followFocus()
    {
        QLineEdit *edit = textEntry();
        if (!edit) {
            if (entry_) {
                entry_ = nullptr;
                entryRect_ = QRect();
                pageTextEntry(0, 0, 0, 0, 0, 0);
            }
            return;
        }
        const QRect rect(edit->mapToGlobal(QPoint(0, 0)), edit->size());
        if (edit == entry_ && rect == entryRect_)
            return;
        if (edit != entry_)
            ++entryNumber_;
        entry_ = edit;
        entryRect_ = rect;
        pageTextEntry(1, entryNumber_, rect.x(), rect.y(), rect.width(), rect.height());
    }

    // The largest width and the largest height among the open windows.
    void needsChanged()
    {
        QSize needs;
        for (const QWidget *window : QApplication::topLevelWidgets()) {
            if (isWindowOfGame(window))
                needs = needs.expandedTo(window->frameGeometry().size());
        }
        if (needs.isEmpty() || needs == needs_)
            return;
        needs_ = needs;
        pageScreenNeeds(needs.width() + 2 * Margin, needs.height() + 2 * Margin);
    }

    // The page has a new size: a menu open on the old one closes, as on a
    // desktop whose screen changes, and every window stands whole on the new
    // one and is drawn again (the page's pixels per point may have changed).
    void screenChanged(const QRect &screen)
    {
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        QList<QWidget *> dialogs;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (!isWindowOfGame(window))
                continue;
            const auto *dialog = qobject_cast<const QDialog *>(window);
            if (dialog && dialog->parentWidget())
                dialogs.append(window); // once the window it stands over is in place
            else
                place(window, screen);
        }
        // A message box stays over the window that asked, as Qt put it there.
        for (QWidget *dialog : std::as_const(dialogs)) {
            QRect frame = dialog->frameGeometry();
            frame.moveCenter(dialog->parentWidget()->window()->frameGeometry().center());
            moveOnto(dialog, frame, screen);
        }
        repaintWindows();
        followFocus();
    }

    // Centred again, as the game centres every window of its own when it
    // first shows; one the player has moved is moved onto the screen as
    // little as needed.
    static void place(QWidget *window, const QRect &screen)
    {
        if (window->property(MovedByPlayer).toBool())
            moveOnto(window, window->frameGeometry(), screen);
        else
            centreOnScreen(window);
    }

    static QRect keptOn(QRect frame, const QRect &screen)
    {
        frame.moveLeft(std::max(screen.left(), std::min(frame.left(), screen.right() + 1 - frame.width())));
        frame.moveTop(std::max(screen.top(), std::min(frame.top(), screen.bottom() + 1 - frame.height())));
        return frame;
    }

    static void moveOnto(QWidget *window, const QRect &frame, const QRect &screen)
    {
        const QPoint place = keptOn(frame, screen).topLeft();
        if (place != window->pos())
            window->move(place);
    }

    QPointer<QLineEdit> entry_;
    int entryNumber_ = 0;
    QRect entryRect_;
    QSize needs_;
    QList<QPointer<QWidget>> activated_;
};
} // namespace

void WebPage::install()
{
    static PageWatch *watch = nullptr;
    if (!watch) {
        watch = new PageWatch;
        pageConnect();
    }
}

// A buffer for `length` UTF-16 code units of the page's text (and its end).
extern "C" EMSCRIPTEN_KEEPALIVE char16_t *rumida_page_text(int length)
{
    pageText().assign(std::size_t(std::max(length, 0)) + 1, u'\0');
    return pageText().data();
}

// Types the page's text, a run of printable characters, into the focus
// window, as one key event that carries them all: the form in which Qt
// hands a widget keys typed faster than it takes them (key compression).
// A line edit inserts the run at once where a key event a character would
// lay out its whole text again for each one (10,000 characters took 15 s).
extern "C" EMSCRIPTEN_KEEPALIVE void rumida_page_type(int length)
{
    QWindow *window = QGuiApplication::focusWindow();
    const qsizetype stored = qsizetype(pageText().size()) - 1; // without the end
    if (!window || length <= 0 || stored <= 0)
        return;
    const QString text = QString::fromUtf16(pageText().data(), std::min<qsizetype>(length, stored));
    // A key event counts its characters in 16 bits: a longer run goes as several.
    constexpr qsizetype Most = 0xffff;
    for (qsizetype from = 0; from < text.size(); from += Most) {
        const QString run = text.mid(from, Most);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, run, false, quint16(run.size()));
        QCoreApplication::sendEvent(window, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, run, false, quint16(run.size()));
        QCoreApplication::sendEvent(window, &release);
    }
}

extern "C" EMSCRIPTEN_KEEPALIVE void rumida_page_repaint()
{
    repaintWindows();
}

// The caret of the box that has the keyboard, in page pixels, or -1.
extern "C" EMSCRIPTEN_KEEPALIVE int rumida_page_caret_x()
{
    const QLineEdit *edit = textEntry();
    if (!edit)
        return -1;
    // The caret's rectangle stands a few pixels either side of the caret.
    const QRect caret = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    return edit->mapToGlobal(caret.center()).x();
}
