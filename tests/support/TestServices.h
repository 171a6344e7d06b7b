// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/BeepService.h"
#include "platform/FramePacer.h"
#include "platform/MessageService.h"
#include "platform/RandomGenerator.h"
#include "tests/support/Draws.h"
#include "tests/support/PrintQString.h"

#include <QList>
#include <QString>
#include <deque>
#include <functional>

// Message boxes answered from a script. Every question is recorded; an
// unexpected question (no answer left) fails the test and answers Cancel/No.
class ScriptedMessages final : public MessageService {
public:
    struct Question {
        QString text;
        QString title;
        Buttons buttons;
        Icon icon;
        int defaultButton;

        bool operator==(const Question &) const = default;
        friend void PrintTo(const Question &q, std::ostream *out)
        {
            PrintTo(q.title, out);
            *out << " / ";
            PrintTo(q.text, out);
            *out << (q.buttons == Buttons::YesNo ? " YesNo" : " OkCancel")
                 << (q.icon == Icon::Critical ? " Critical" : " Question") << " default " << q.defaultButton;
        }
    };

    Answer ask(QWidget *owner, const QString &text, const QString &title, Buttons buttons, Icon icon,
               int defaultButton) override;

    void answer(Answer a) { answers_.push_back(a); }
    // Runs while the box is up, before it is answered.
    std::function<void(const Question &)> onAsk;

    QList<Question> asked;
    bool unexpected = false;
    std::size_t pending() const { return answers_.size(); }

private:
    std::deque<Answer> answers_;
};

class CountingBeep final : public BeepService {
public:
    void beep() override { ++count; }
    int count = 0;
};

// The scripted draws as the program's generator: once the script runs out, a
// fixed seeded generator takes over so a race never runs dry.
class ScriptedRandom final : public RandomGenerator, public ScriptedDraws {
public:
    void reseedFromClock() override { ScriptedDraws::reseedFromClock(); }
    float next() override { return ScriptedDraws::next(); }

private:
    float afterScript() override { return fallback_.next(); }

    SystemRandom fallback_{[] { return std::uint64_t(42); }, 0x5eed};
};

// Counts frames without waiting.
class CountingPacer final : public FramePacer {
public:
    void frame() override
    {
        ++frames;
        if (onFrame)
            onFrame(frames);
    }
    int frames = 0;
    std::function<void(int)> onFrame;
};
