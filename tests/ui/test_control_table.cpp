// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Controls made from a window's table: fitted to their fonts at once, or
// later, when the window is built long before it shows.
#include "platform/ControlTable.h"
#include "platform/Twips.h"

#include <QWidget>
#include <array>
#include <gtest/gtest.h>

namespace {
using Kind = ControlSpec::Kind;

// One row of each kind, several too small for their captions, so fitting moves
// something; the odd sizes are the point, not a layout of the game.
const std::array<ControlSpec, 9> Rows{{
    {Kind::Label, "lblNarrow", "現在の所持金：", 120, 3240, 300, 90},
    {Kind::Label, "lblLarge", "結果：", 240, 5640, 855, 375, 14.25},
    {Kind::SizedLabel, "lblSized", "配当：", 2520, 5640, 0, 0, 14.25},
    {Kind::WrappedLabel, "lblWrapped", "これらの写真は、作者が撮影した物です。", 840, 3840, 2000, 615},
    {Kind::CheckBox, "chkSmall", "1-2", 240, 3720, 200, 60},
    {Kind::Button, "cmdSmall", "次のレース", 6120, 3840, 300, 150},
    {Kind::TextBox, "txtFlat", "", 960, 3720, 1215, 60},
    {Kind::Frame, "fraBoard", "オッズ", 4680, 3120, 1335, 2295},
    {Kind::Line, "Line1", "", 120, 5400, 4440},
}};

bool followsItsFont(Kind kind)
{
    return kind != Kind::Line && kind != Kind::Frame && kind != Kind::TextArea;
}
} // namespace

TEST(ControlTableTest, DeferredFittingEndsWhereFittingAtOnceDoes)
{
    QWidget now, later;
    DeferredFitting fitting;
    std::array<QWidget *, Rows.size()> fitted{}, deferred{};
    for (std::size_t i = 0; i < Rows.size(); ++i)
        fitted[i] = makeControl(&now, Rows[i]);
    {
        DeferredFitting::Scope scope(fitting);
        for (std::size_t i = 0; i < Rows.size(); ++i)
            deferred[i] = makeControl(&later, Rows[i]);
    }

    // Until then each stands at its table position, named and in its font.
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        SCOPED_TRACE(Rows[i].name);
        EXPECT_EQ(deferred[i]->objectName(), fitted[i]->objectName());
        EXPECT_EQ(deferred[i]->font(), fitted[i]->font());
        EXPECT_EQ(deferred[i]->pos(), fitted[i]->pos()); // fitting keeps left and top
    }
    EXPECT_EQ(deferred[0]->geometry(), Twips::rect(120, 3240, 300, 90));
    EXPECT_EQ(deferred[4]->geometry(), Twips::rect(240, 3720, 200, 60));
    EXPECT_NE(deferred[0]->size(), fitted[0]->size()) << "the row is meant to be too small";

    // A control made once the scope has closed is fitted at once.
    EXPECT_EQ(makeControl(&later, Rows[0])->geometry(), fitted[0]->geometry());

    fitting.fit();
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        SCOPED_TRACE(Rows[i].name);
        EXPECT_EQ(deferred[i]->geometry(), fitted[i]->geometry());
        if (followsItsFont(Rows[i].kind)) {
            EXPECT_GE(fitted[i]->width(), Twips::toPixels(Rows[i].width));
        }
    }

    // Fitting runs once: a control moved since stays where it was put.
    deferred[1]->move(3, 4);
    fitting.fit();
    EXPECT_EQ(deferred[1]->pos(), QPoint(3, 4));
}

TEST(ControlTableTest, AControlGoneBeforeItsFittingIsPassedOver)
{
    QWidget window;
    DeferredFitting fitting;
    QWidget *kept = nullptr;
    {
        DeferredFitting::Scope scope(fitting);
        delete makeControl(&window, Rows[0]);
        kept = makeControl(&window, Rows[5]);
    }
    fitting.fit();
    QWidget reference;
    EXPECT_EQ(kept->geometry(), makeControl(&reference, Rows[5])->geometry());
}

TEST(ControlTableTest, ScopesNestAndRestoreTheOuterOne)
{
    QWidget window;
    DeferredFitting outer, inner;
    QWidget *first = nullptr, *second = nullptr;
    {
        DeferredFitting::Scope outerScope(outer);
        {
            DeferredFitting::Scope innerScope(inner);
            first = makeControl(&window, Rows[0]);
        }
        second = makeControl(&window, Rows[0]);
    }
    const QRect table = Twips::rect(120, 3240, 300, 90);
    inner.fit();
    EXPECT_NE(first->geometry(), table);
    EXPECT_EQ(second->geometry(), table) << "noted by the outer scope, not yet fitted";
    outer.fit();
    EXPECT_EQ(second->geometry(), first->geometry());
}
