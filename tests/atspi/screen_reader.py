#!/usr/bin/python3
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
"""What a screen reader reads of the game, read the way a screen reader reads
it: through AT-SPI, from the game running on an X server with Qt's
accessibility bridge on.

The game is the real program. The test walks each window's accessible tree
and checks the names and roles a screen reader speaks: every control that
takes the focus, the horses, the captions tied to the money and result
labels, and no decorative rule anywhere. It then plays as a player who
cannot see the screen: it ticks a pair and types a stake with real keys
(xdotool) and hears of the money's change, presses the buttons as a screen
reader's "activate" does, hears the race's result, opens the side windows and
quits through the confirmation box. Everything read is printed.

Usage: screen_reader.py <rumida program>   (run by run-x11.sh inside a D-Bus
session: the accessibility bus and its registry are started on demand)
"""
import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

# The machine is shared with other test runs: a step may take a while.
STEP_TIMEOUT = 30
# The race is paced for the eye: about six seconds.
RACE_TIMEOUT = 90

MAIN_TITLE = 'ルミダ\u3000Ver1.01'

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print(f'FAIL: {message}', flush=True)
    return condition


class Timeout(Exception):
    pass


def wait_for(what, condition, timeout=STEP_TIMEOUT):
    """Runs the event loop (so that events are heard) until condition()
    gives something true, and returns it."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + timeout
    while True:
        while context.pending():
            context.iteration(False)
        try:
            value = condition()
        except GLib.Error:
            value = None  # an object that went away while it was read
        if value:
            return value
        if time.monotonic() > deadline:
            raise Timeout(f'timed out waiting for {what}')
        context.iteration(True)  # the ticker below wakes it at least every 50 ms


# Wakes the event loop regularly, so that conditions on the tree are looked at
# again even when no event comes.
GLib.timeout_add(50, lambda: True)


# ---- Reading the tree ----

def children(obj):
    return [child for child in obj if child is not None]


def walk(obj):
    yield obj
    for child in children(obj):
        yield from walk(child)


def role(obj):
    return obj.getRoleName()


def has_state(obj, state):
    return obj.getState().contains(state)


def showing(obj):
    return has_state(obj, pyatspi.STATE_SHOWING)


def readable(obj):
    """role: name, as a line of the report."""
    return f'{role(obj)}: {obj.name}'


def focusable(window):
    return [obj for obj in walk(window) if has_state(obj, pyatspi.STATE_FOCUSABLE) and showing(obj)]


def related(obj, relation):
    names = []
    for rel in obj.getRelationSet():
        if rel.getRelationType() == relation:
            names += [rel.getTarget(i).name for i in range(rel.getNTargets())]
    return names


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in children(desktop):
        if app.get_process_id() == pid:
            return app
    return None


def window_named(app, title):
    for window in children(app):
        if window.name == title and showing(window):
            return window
    return None


def report(title, lines):
    print(f'--- {title}')
    for line in lines:
        print(f'  {line}')
    sys.stdout.flush()


def expect_no_decorations(root, where):
    """No rule reaches a screen reader: nothing under `root` (a window or its
    client area, menus aside) is a separator, and no plain filler stands
    among the controls (a rule read as a plain widget)."""
    for obj in walk(root):
        check(role(obj) != 'separator', f'{where}: a separator is in the tree')
    controls = children(root)
    if controls and role(controls[0]) == 'filler':  # the window's client area
        controls = children(controls[0]) + controls[1:]
    for obj in controls:
        check(role(obj) != 'filler', f'{where}: a filler stands among the controls ({obj.name!r})')


# ---- Events ----

heard = []  # (event type, source, the source's name when heard)


def on_event(event):
    try:
        heard.append((event.type, event.source, event.source.name))
    except GLib.Error:
        pass


def heard_name(source, predicate=lambda name: True, since=0):
    for kind, who, name in heard[since:]:
        if kind.startswith('object:property-change:accessible-name') and who == source and predicate(name):
            return name
    return None


def expect_heard(what, source, predicate, since):
    """Waits until a change of `source`'s name that `predicate` accepts has
    been heard since event number `since`; a failed check if none comes."""
    try:
        return wait_for(what, lambda: heard_name(source, predicate, since))
    except Timeout as timeout:
        check(False, str(timeout))
        return None


def focused_name(window):
    for obj in walk(window):
        if has_state(obj, pyatspi.STATE_FOCUSED):
            return obj.name
    return None


def xdotool(*args):
    subprocess.run(['xdotool', *args], check=True)


def press(button):
    """What a screen reader's activate command does: the button's action."""
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    check('Press' in names, f'{button.name}: no Press action ({names})')
    action.doAction(names.index('Press'))


def menu_item(window, name):
    for obj in walk(window):
        if role(obj) == 'menu item' and obj.name == name:
            return obj
    raise AssertionError(f'no menu item {name}')


# ---- The windows ----

def read_splash(app):
    # The splash lives three seconds; on a machine loaded by other tests the
    # bridge may show the program only after it has handed over. Then there is
    # no splash to read, which says nothing about its names: say so and go on.
    splash = wait_for('the splash window',
                      lambda: window_named(app, 'Form1') or window_named(app, MAIN_TITLE))
    if window_named(app, 'Form1') is None:
        print('splash: gone before it could be read (a busy machine); its names were not checked')
        return
    try:
        labels = [obj for obj in walk(splash) if role(obj) == 'label']
        names = [readable(obj) for obj in labels]
    except GLib.Error:
        labels = None
    if labels is None or window_named(app, 'Form1') is None:
        print('splash: handed over while it was read (a busy machine); its names were not checked')
        return
    report('splash: labels', names)
    check([obj.name for obj in labels] == ['Ｚｅｌｋｏ', 'ゼルコ・ファンクラブ', '作：ルミダ工房', '© 1999 ルミダ',
                                           'Ｖｅｒｓｉｏｎ\u3000１．０１', 'ルミダ'],
          'splash: the credits read otherwise')
    expect_no_decorations(splash, 'splash')


def read_main_window(main):
    controls = focusable(main)
    report('main window: controls that take the focus', [readable(obj) for obj in controls])
    expected = []
    for pair in ['1-2', '1-3', '1-4', '2-3', '2-4', '3-4']:
        expected += [f'check box: {pair} に賭ける', f'text: {pair} の賭け金']
    expected += ['push button: 賭け終了', 'push button: 次のレース', 'push button: レース開始']
    check([readable(obj) for obj in controls] == expected, 'main window: the focusable controls read otherwise')

    images = [obj for obj in walk(main) if role(obj) == 'image']
    report('main window: images', [readable(obj) for obj in images])
    check([obj.name for obj in images] == ['1番 赤の馬', '2番 茶色の馬', '3番 黄色の馬', '4番 白の馬'],
          'main window: the horses read otherwise')
    for image in images:
        extents = image.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        check((extents.width, extents.height) == (40, 40), f'{image.name}: {extents.width} x {extents.height}')

    # The labels that show a value, each read as labelled by its caption.
    tied = {}
    for obj in walk(main):
        for caption in related(obj, pyatspi.RELATION_LABELLED_BY):
            if role(obj) == 'label' and caption.endswith('：'):
                tied[caption] = obj
    report('main window: captions and what they label',
           [f'{caption} -> {obj.name}' for caption, obj in tied.items()])
    check(set(tied) == {'現在の所持金：', '結果：', '配当：'}, f'main window: captions tied {sorted(tied)}')
    check(tied.get('現在の所持金：') and tied['現在の所持金：'].name == '￥10,000',
          'main window: the money does not read ￥10,000')

    odds = next(obj for obj in walk(main) if role(obj) == 'panel')
    report('main window: the odds board', [readable(odds)] + [f'  {readable(obj)} (labelled by '
                                                              f'{", ".join(related(obj, pyatspi.RELATION_LABELLED_BY))})'
                                                              for obj in children(odds)])
    check(odds.name == 'オッズ', 'the odds board is not named オッズ')
    check([role(obj) for obj in children(odds)] == ['label'] * 12, 'the odds board holds more than its labels')
    expect_no_decorations(main.getChildAtIndex(0), 'main window')
    return tied


def play_a_race(main, tied):
    money, winner, payout = tied['現在の所持金：'], tied['結果：'], tied['配当：']
    by_name = {obj.name: obj for obj in walk(main)}

    wait_for('the main window to be active', lambda: has_state(main, pyatspi.STATE_ACTIVE))
    wait_for('the focus on 賭け終了', lambda: focused_name(main) == '賭け終了')

    # Tab to the first pair, Space ticks it and the focus moves to its box;
    # a stake is typed and Tab leaves the box: the money changes.
    xdotool('key', 'Tab')
    wait_for('the focus on 1-2 に賭ける', lambda: focused_name(main) == '1-2 に賭ける')
    xdotool('key', 'space')
    wait_for('the focus on 1-2 の賭け金', lambda: focused_name(main) == '1-2 の賭け金')
    box = by_name['1-2 の賭け金']
    xdotool('type', '--delay', '20', '1500')
    wait_for('the stake to be typed', lambda: box.queryText().getText(0, -1) == '1500')
    since = len(heard)
    xdotool('key', 'Tab')
    expect_heard('the money\'s change to be heard', money, lambda n: n == '￥8,500', since)
    report('heard while betting', [f'{kind} <{readable(who)}> "{name}"' for kind, who, name in heard[since:]])

    # The betting is closed and the race run, as a screen reader's activate
    # command presses the buttons.
    press(by_name['賭け終了'])
    wait_for('the focus on レース開始', lambda: focused_name(main) == 'レース開始')
    since = len(heard)
    press(by_name['レース開始'])
    # The focus moves on at the end of the race, in the handler that then
    # shows the result: once it is seen there, the result is shown.
    wait_for('the race to end', lambda: focused_name(main) == '次のレース', RACE_TIMEOUT)
    result = winner.name
    if re.fullmatch(r'[1-4]-[1-4]', result):
        expect_heard(f'the result {result} to be heard', winner, lambda n: n == result, since)
        if result == '1-2':  # the stake wins: the payout and the money are heard too
            expect_heard('the payout to be heard', payout, lambda n: n.startswith('￥'), since)
            expect_heard('the money after the payout to be heard', money, lambda n: n != '￥8,500', since)
    else:
        print(f'  (the race named no pair: the result label still reads {result!r})')
    report('heard at the end of the race', [f'{kind} <{readable(who)}> "{name}"' for kind, who, name in heard[since:]])

    # The next race empties the result: heard as well.
    since = len(heard)
    press(by_name['次のレース'])
    wait_for('the betting to reopen', lambda: has_state(by_name['賭け終了'], pyatspi.STATE_ENABLED))
    if re.fullmatch(r'[1-4]-[1-4]', result):
        expect_heard('the emptied result to be heard', winner, lambda n: n != result, since)
    report('heard at the next race', [f'{kind} <{readable(who)}> "{name}"' for kind, who, name in heard[since:]])


def read_side_windows(app, main):
    expected = {
        'ゼルコ写真集': ('ゼルコ写真集', ['push button: 戻る', 'push button: 前の写真', 'push button: 次の写真']),
        '使い方': ('ルミダ\u3000使い方', ['push button: 戻る', 'text: 使い方の説明']),
        'バージョン情報': ('ルミダ\u3000バージョン情報', ['push button: 戻る']),
    }
    for item, (title, controls) in expected.items():
        press(menu_item(main, item))
        window = wait_for(f'the window {title}', lambda: window_named(app, title))
        read = [readable(obj) for obj in focusable(window)]
        images = [readable(obj) for obj in walk(window) if role(obj) == 'image' and showing(obj)]
        report(f'{readable(window)}: controls that take the focus, and images', read + images)
        check(role(window) == 'frame', f'{title}: reads as a {role(window)}, not a window')
        check(read == controls, f'{title}: the focusable controls read otherwise')
        if item == 'ゼルコ写真集':
            check(images == ['image: ゼルコの写真'], 'the gallery\'s photograph reads otherwise')
        if item == 'バージョン情報':
            # Its two rules are direct children of the window.
            check([role(obj) for obj in children(window)] == ['push button'] + ['label'] * 6,
                  'the version window holds more than its button and labels')
        else:
            expect_no_decorations(window, title)
        # 戻る closes the window.
        press(next(obj for obj in focusable(window) if obj.name == '戻る'))
        wait_for(f'the window {title} to close', lambda: not window_named(app, title))


def highlighted(obj):
    return has_state(obj, pyatspi.STATE_FOCUSED) or has_state(obj, pyatspi.STATE_SELECTED)


def quit_game(app, main, game):
    # By the keyboard, as the player would: a menu item's action would wait
    # for the question it asks to be answered before it replied.
    file_menu, end = menu_item(main, 'ファイル'), menu_item(main, '終了')
    wait_for('the main window to be active', lambda: has_state(main, pyatspi.STATE_ACTIVE))
    xdotool('key', 'alt')
    wait_for('ファイル highlighted in the menu bar', lambda: highlighted(file_menu))
    xdotool('key', 'Return')
    wait_for('the ファイル menu open', lambda: showing(end))
    xdotool('key', 'Up')  # from the first item round to the last
    wait_for('終了 highlighted', lambda: highlighted(end))
    xdotool('key', 'Return')
    box = wait_for('the quit question', lambda: window_named(app, 'ルミダの終了'))
    buttons = [obj for obj in walk(box) if role(obj) == 'push button']
    texts = [obj.name for obj in walk(box) if role(obj) == 'label' and obj.name]
    report(f'{readable(box)}', texts + [readable(obj) for obj in buttons])
    check('ルミダを終了しますか？' in texts or box.description == 'ルミダを終了しますか？',
          'the quit question does not read ルミダを終了しますか？')
    ok = next(obj for obj in buttons if obj.name == 'OK')
    press(ok)
    wait_for('the game to end', lambda: game.poll() is not None)
    check(game.returncode == 0, f'the game ended with status {game.returncode}')


def main():
    program = sys.argv[1]
    # Qt's switches for its accessibility bridge, in the game's environment:
    # a desktop with a screen reader running sets the same through D-Bus.
    env = dict(os.environ, QT_ACCESSIBILITY='1', QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1')
    pyatspi.Registry.registerEventListener(on_event, 'object:property-change:accessible-name')
    game = subprocess.Popen([program], env=env)
    try:
        app = wait_for('the game on the accessibility bus', lambda: application(game.pid))
        read_splash(app)
        main_window = wait_for('the main window', lambda: window_named(app, MAIN_TITLE))
        tied = read_main_window(main_window)
        play_a_race(main_window, tied)
        read_side_windows(app, main_window)
        quit_game(app, main_window, game)
    except (Timeout, AssertionError, GLib.Error) as error:
        check(False, str(error))
    finally:
        if game.poll() is None:
            game.kill()
            game.wait()
    if failures:
        print(f'{len(failures)} check(s) failed')
        return 1
    print('all checks passed')
    return 0


if __name__ == '__main__':
    sys.exit(main())
