// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

// The desktop's warning sound, as a service so tests can count beeps.
class BeepService {
public:
    virtual ~BeepService() = default;
    virtual void beep() = 0;
};

class QtBeep final : public BeepService {
public:
    void beep() override;
};
