#!/usr/bin/env python3
"""The interactive browser as a user meets it: vellum started with no command
on a pseudo-terminal (TERM=xterm, 80 x 24), keys typed into it, and what it
draws read back through a terminal emulator (pyte) as the screen a person
sees. The expected titles come from vellum's own commands, so that the
browser is checked against the filter and the search it shares with them.

Usage: vellum_interactive_test.py VELLUM"""

import os
import pty
import re
import select
import signal
import struct
import subprocess
import sys
import termios
import fcntl
import time

import pyte

VELLUM = sys.argv[1]
COLUMNS, ROWS = 80, 24
# How long a step may take to show before the test gives up on it.
PATIENCE = 20.0
SEPARATOR = "\u2502"


class XtermScreen(pyte.Screen):
    """pyte's screen with the three sequences of xterm's description that
    curses may use and pyte lacks: repeat the last character (REP), and
    scroll up or down (SU, SD)."""

    last = " "

    def draw(self, data):
        if data:
            self.last = data[-1]
        super().draw(data)

    def repeat_last_character(self, count=1, **_):
        self.draw(self.last * max(1, count))

    def _scroll(self, count, at_bottom):
        top, bottom = self.margins or pyte.screens.Margins(0, self.lines - 1)
        row = self.cursor.y
        for _ in range(max(1, count)):
            self.cursor.y = bottom if at_bottom else top
            (self.index if at_bottom else self.reverse_index)()
        self.cursor.y = row

    def scroll_up(self, count=1, **_):
        self._scroll(count, True)

    def scroll_down(self, count=1, **_):
        self._scroll(count, False)


class XtermStream(pyte.ByteStream):
    csi = dict(pyte.ByteStream.csi, b="repeat_last_character", S="scroll_up", T="scroll_down")


def shown_as(shown, names):
    """Whether the rows show the names, where a name too long for its row
    ends in an ellipsis."""
    return len(shown) == len(names) and all(
        row == name or (row.endswith("\u2026") and name.startswith(row[:-1]))
        for row, name in zip(shown, names))


def vellum_lines(*arguments):
    run = subprocess.run([VELLUM, *arguments], capture_output=True, text=True, check=False)
    return [line for line in run.stdout.splitlines() if line]


class Browser:
    """vellum on a pseudo-terminal, and the screen it has drawn."""

    def __init__(self):
        self.screen = XtermScreen(COLUMNS, ROWS)
        self.stream = XtermStream(self.screen)
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            fcntl.ioctl(0, termios.TIOCSWINSZ, struct.pack("HHHH", ROWS, COLUMNS, 0, 0))
            environment = dict(os.environ, TERM="xterm", LANG="C.UTF-8", LC_ALL="C.UTF-8")
            os.execve(VELLUM, [VELLUM], environment)

    def read(self, wait):
        ready, _, _ = select.select([self.fd], [], [], wait)
        if not ready:
            return False
        try:
            data = os.read(self.fd, 65536)
        except OSError:  # the program has ended
            return False
        self.stream.feed(data)
        return bool(data)

    def type(self, keys):
        os.write(self.fd, keys.encode("utf-8"))

    def wait_for(self, what, check):
        """Reads the screen until check(self) holds; fails naming what was
        awaited, with the screen as it stands, when it never does."""
        deadline = time.monotonic() + PATIENCE
        while not self.shows(check):
            if time.monotonic() > deadline:
                fail(what, self)
            self.read(0.1)

    def shows(self, check):
        try:
            return check(self)
        except (StopIteration, IndexError):  # not drawn yet
            return False

    def resize(self, columns, rows):
        self.screen.resize(rows, columns)
        fcntl.ioctl(self.fd, termios.TIOCSWINSZ, struct.pack("HHHH", rows, columns, 0, 0))

    # What the screen shows. The left column lies before the separator.

    def separator(self):
        return self.screen.display[0].find(SEPARATOR)

    def left(self, row):
        return self.screen.display[row][: self.separator()].strip()

    def right(self, row):
        return self.screen.display[row][self.separator() + 1 :].strip()

    def filter_row(self):
        return next(r for r in range(self.screen.lines) if self.left(r).startswith("\u2500"))

    def categories(self):
        return [self.left(r) for r in range(self.filter_row())]

    def entries(self):
        rows = range(self.filter_row() + 1, self.screen.lines - 1)
        return [self.left(r) for r in rows if self.left(r)]

    def title(self):
        return self.right(0)

    def marked(self, row, column):
        cell = self.screen.buffer[row][column]
        return cell.bold or cell.reverse

    def marked_category(self):
        return next(name for r, name in enumerate(self.categories()) if self.marked(r, 1))

    def selected_name(self):
        """The reverse-video characters of the text: the selected name."""
        start = self.separator() + 1
        return "".join(
            self.screen.buffer[r][c].data
            for r in range(self.screen.lines - 1)
            for c in range(start, self.screen.columns)
            if self.screen.buffer[r][c].reverse
        )

    def status(self):
        return self.screen.display[self.screen.lines - 1].strip()

    def finish(self):
        deadline = time.monotonic() + PATIENCE
        while time.monotonic() < deadline:
            pid, status = os.waitpid(self.pid, os.WNOHANG)
            if pid:
                return os.waitstatus_to_exitcode(status)
            self.read(0.1)
        os.kill(self.pid, signal.SIGKILL)
        fail("the program to end", self)


def fail(what, browser):
    print("FAILED waiting for " + what + "; the screen:", file=sys.stderr)
    for line in browser.screen.display:
        print("|" + line + "|", file=sys.stderr)
    if browser.pid:
        os.kill(browser.pid, signal.SIGKILL)
    print("0 passed, 1 failed")
    sys.exit(1)


def main():
    categories = vellum_lines("categories")
    spells = vellum_lines("list", "Spells")
    typed = vellum_lines("filter", "-c", "Spells", "seal")
    found = [line.strip() for line in vellum_lines("find", "open", "lock")[1:] if line.startswith("  ")]
    browser = Browser()

    browser.wait_for("the categories and the first spell",
                     lambda b: shown_as(b.categories(), categories) and b.title() == spells[0])
    # The status line is drawn last: wait for it too, rather than read it
    # while the screen is still being drawn.
    browser.wait_for("the keys in the status line", lambda b: "filter" in b.status())

    # The type-ahead: the list is cut to what the filter command keeps, and
    # the first title left is shown.
    browser.type("seal")
    browser.wait_for("the list cut by the filter",
                     lambda b: b.entries() == typed and b.title() == typed[0])
    if typed[0] != "Arcane Seal":
        fail("Arcane Seal first of the titles that hold 'seal'", browser)

    # Tab selects the first name in the text (the spell names the skill
    # Open Lock); Enter opens it, its category marked.
    browser.type("\t")
    browser.wait_for("the first name selected", lambda b: b.selected_name() == "Open Lock")
    browser.type("\r")
    browser.wait_for("the named entry in its category",
                     lambda b: b.title() == "Open Lock" and b.marked_category() == "Skills")

    # Backspace goes back to the entry the name was followed from.
    browser.type("\x7f")
    browser.wait_for("the way back", lambda b: b.title() == "Arcane Seal" and b.marked_category() == "Spells")

    # The full-body search lists what the find command finds; Enter opens one.
    browser.type("/open lock\r")
    browser.wait_for("the search results",
                     lambda b: b.title().startswith("Search: open lock")
                     and [b.right(r).rsplit("  ", 1)[0].strip() for r in (2, 3)] == found[:2])
    browser.type("\x1bOB\r")  # Down, as xterm sends it to curses
    browser.wait_for("the second result opened", lambda b: b.title() == found[1])

    # The dice line rolls the roll command's notation into its lines.
    browser.type("r3d6+2 x2\r")
    rolled = re.compile(r"3d6\+2 = \d+$")
    browser.wait_for("two totals rolled",
                     lambda b: sum(bool(rolled.match(b.right(r))) for r in range(b.screen.lines)) == 2)

    # A larger window is used whole.
    browser.type("\x1b")
    browser.wait_for("the entry again", lambda b: b.title() == found[1])
    browser.resize(100, 30)
    browser.wait_for("the layout of the larger window",
                     lambda b: b.title() == found[1] and "quit" in b.status()
                     and len(b.entries()) > 15)

    browser.type("q")
    code = browser.finish()
    if code != 0:
        fail("exit status 0, not %d" % code, browser)
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
