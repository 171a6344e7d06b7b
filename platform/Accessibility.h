// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

class QLabel;
class QWidget;

// What a screen reader reads of the windows, through Qt's accessibility
// bridge (AT-SPI on Linux, UI Automation on Windows). Qt names most controls
// from their captions already; the control tables name the rest.
namespace Accessibility {

// Puts the interfaces of the platform's own controls in front of Qt's: a
// picture control is an image named by its accessible name, a top-level
// window is a window, and the decorative rules (LineControl) are left out of
// their parents' children, so a screen reader never stops on them. Call once,
// after the QApplication exists (Qt installs its own interfaces with it, and
// the last one installed is asked first).
void install();

// Ties a caption to the control that shows what it names (現在の所持金： to
// the money, 結果： to the winning pair): the control reads as labelled by
// the caption. The control keeps its text as its accessible name, so every
// change of that text reaches a screen reader as a change of name (QLabel
// sends it on setText; clear() sends nothing, so the game empties these
// labels with setText).
void tieCaption(QLabel *caption, QWidget *control);

} // namespace Accessibility
