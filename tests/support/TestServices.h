// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/BeepService.h"
#include "platform/FramePacer.h"
#include "platform/MessageService.h"
#include "platform/RandomGenerator.h"

#include <QList>
#include <QString>
#include <deque>
#include <functional>
#include <ostream>

// Lets test failures print Qt strings as text.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

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

// Hands out scripted values, then falls back to a fixed seeded generator so a
// race never runs dry. Counts reseeds and draws.
class ScriptedRandom final : public RandomGenerator {
public:
    ScriptedRandom();
    void reseedFromClock() override { ++reseeds; }
    float next() override;

    void script(std::initializer_list<float> values) { values_.insert(values_.end(), values); }
    void script(float value, int times) { values_.insert(values_.end(), std::size_t(times), value); }
    void clear() { values_.clear(); }

    int reseeds = 0;
    int draws = 0;

private:
    std::deque<float> values_;
    SystemRandom fallback_;
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
