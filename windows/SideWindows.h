// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>

class frmHelp;
class frmRumida;
class frmVersion;
class frmZelko;

// Opens the gallery, help and version windows from the main window's menus.
// Each exists at most once, modeless and without an owner; choosing its menu
// item again only brings it to the front. A side window destroys itself when
// closed, so the next opening builds it afresh.
class SideWindows : public QObject {
    Q_OBJECT
public:
    SideWindows();
    ~SideWindows() override; // destroys the side windows still open

    // Wires the main window's menu picks to the openers: the one place the
    // main window meets the side windows.
    void followMenusOf(const frmRumida &mainWindow);

    // The side windows now open, or null.
    frmZelko *gallery() const;
    frmHelp *help() const;
    frmVersion *version() const;

public slots:
    void openGallery();
    void openHelp();
    void openVersion();

private:
    QPointer<frmZelko> gallery_;
    QPointer<frmHelp> help_;
    QPointer<frmVersion> version_;
};
