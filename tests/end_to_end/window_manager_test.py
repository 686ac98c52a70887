#!/usr/bin/python3
"""The main window under a real window manager: openbox frames it on a 1024 x 768 screen, and the
window's outer rectangle, frame included as _NET_FRAME_EXTENTS reports it, is the layout's
339 x 250 centred at 342, 259. The user can move it by its title bar; a copy of the layout that
forbids moving gives a window that stays put.

    window_manager_test.py PROGRAM LAYOUT_VARIANT_WINDOW
"""

import re
import sys
import time
import unittest

from virtual_desktop import VirtualDesktop, wait_until

PROGRAM = None
VARIANT = None
CENTRED = (342, 259, 339, 250)

# The Motif window manager hints: which functions the frame and its menu offer.
FUNCTION_RESIZE = 1 << 1
FUNCTION_MOVE = 1 << 2


class WindowManagerTest(unittest.TestCase):
    def setUp(self):
        self.desktop = VirtualDesktop(window_manager=True).__enter__()
        self.addCleanup(self.desktop.__exit__, None, None, None)

    def settled_outer_rectangle(self, window, expected):
        """Waits for the window to show the expected outer rectangle; the last one seen else."""
        seen = []

        def arrived():
            seen.append(self.desktop.outer_rectangle(window))
            return seen[-1] == expected

        try:
            wait_until(f"outer rectangle {expected}", arrived)
        except AssertionError:
            pass
        return seen[-1]

    def motif_functions(self, window):
        hints = self.desktop.x("xprop", "-id", window, "_MOTIF_WM_HINTS")
        fields = [int(n, 16) for n in re.findall(r"0x[0-9a-f]+", hints)]
        self.assertEqual(len(fields), 5, hints)
        self.assertTrue(fields[0] & 1, "the hints name the functions")
        return fields[1]

    def drag_title_bar(self, window, by):
        """Drags the window by a point of its title bar, as a user does with the mouse."""
        left, right, top, bottom = self.desktop.frame_extents(window)
        x, y, width, _ = self.desktop.client_rectangle(window)
        # Left of the middle of the title bar, away from its buttons.
        start = (x + width // 3, y - top // 2)
        self.desktop.x("xdotool", "mousemove", str(start[0]), str(start[1]))
        self.desktop.x("xdotool", "mousedown", "1")
        steps = 6
        for step in range(1, steps + 1):
            # One motion at a time, so that the window manager sees a drag past its threshold.
            time.sleep(0.05)
            self.desktop.x("xdotool", "mousemove", str(start[0] + by[0] * step // steps),
                           str(start[1] + by[1] * step // steps))
        self.desktop.x("xdotool", "mouseup", "1")

    def stays(self, window, rectangle, seconds=2.0):
        """Whether the window keeps the outer rectangle for a while: nothing pulls it back."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if self.desktop.outer_rectangle(window) != rectangle:
                return False
            time.sleep(0.1)
        return True

    def test_frame_included_the_window_is_339_by_250_at_342_259(self):
        program = self.desktop.start([PROGRAM])
        window = self.desktop.window_of(program)
        extents = wait_until("the frame", lambda: self.desktop.frame_extents(window))
        self.assertGreater(sum(extents), 0, "openbox gives the window a frame")
        self.assertEqual(self.settled_outer_rectangle(window, CENTRED), CENTRED)
        x, y, width, height = self.desktop.client_rectangle(window)
        left, right, top, bottom = extents
        self.assertEqual((width, height), (339 - left - right, 250 - top - bottom))

    def test_the_user_moves_the_window_by_its_title_bar(self):
        program = self.desktop.start([PROGRAM])
        window = self.desktop.window_of(program)
        self.assertEqual(self.settled_outer_rectangle(window, CENTRED), CENTRED)
        functions = self.motif_functions(window)
        self.assertTrue(functions & FUNCTION_MOVE, "moving is offered")
        self.assertFalse(functions & FUNCTION_RESIZE, "resizing is not offered")

        self.drag_title_bar(window, by=(-60, 40))

        moved = (CENTRED[0] - 60, CENTRED[1] + 40, 339, 250)
        self.assertEqual(self.settled_outer_rectangle(window, moved), moved)
        self.assertTrue(self.stays(window, moved), "the window stays where the user put it")

    def test_a_layout_that_forbids_moving_gives_a_window_that_stays_put(self):
        program = self.desktop.start([VARIANT, "immovable"])
        window = self.desktop.window_of(program)
        self.assertEqual(self.settled_outer_rectangle(window, CENTRED), CENTRED)
        self.assertFalse(self.motif_functions(window) & FUNCTION_MOVE, "moving is not offered")

        self.drag_title_bar(window, by=(-60, 40))

        self.assertTrue(self.stays(window, CENTRED), "the window stays centred")


if __name__ == "__main__":
    PROGRAM, VARIANT = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=2)
