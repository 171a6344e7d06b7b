// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "windows/SideWindows.h"

#include "race/frmRumida.h"

#include "windows/frmHelp.h"
#include "windows/frmVersion.h"
#include "windows/frmZelko.h"

namespace {
// Builds the window when it is not open, then shows it in front.
template <class Window> void open(QPointer<Window> &window)
{
    if (!window)
        window = new Window;
    window->show();
    window->raise();
    window->activateWindow();
}
} // namespace

SideWindows::SideWindows() = default;

void SideWindows::followMenusOf(const frmRumida &mainWindow)
{
    connect(&mainWindow, &frmRumida::galleryRequested, this, &SideWindows::openGallery);
    connect(&mainWindow, &frmRumida::helpRequested, this, &SideWindows::openHelp);
    connect(&mainWindow, &frmRumida::versionRequested, this, &SideWindows::openVersion);
}

SideWindows::~SideWindows()
{
    delete gallery_.data();
    delete help_.data();
    delete version_.data();
}

frmZelko *SideWindows::gallery() const
{
    return gallery_;
}

frmHelp *SideWindows::help() const
{
    return help_;
}

frmVersion *SideWindows::version() const
{
    return version_;
}

void SideWindows::openGallery()
{
    open(gallery_);
}

void SideWindows::openHelp()
{
    open(help_);
}

void SideWindows::openVersion()
{
    open(version_);
}
