#!/usr/bin/python3
"""What a screen reader sees of the real program: its accessibility tree over AT-SPI, with Qt's
accessibility switched on, on a virtual X server with a session bus of its own. Every edit box
is named by its label without the colon and labelled by that label; the list box has a name of
its own; the buttons go by their captions; the labels by their texts. The drop-down list is
labelled by its label and, as combo boxes on Linux are, named by the item it shows, which is
where a screen reader reads that item from.

    accessibility_test.py PROGRAM
"""

import os
import sys
import unittest

from virtual_desktop import TITLE, VirtualDesktop, wait_until

PROGRAM = None

# The window's children as a screen reader meets them, in creation order: role, name, and the
# name of the label that labels the control.
EXPECTED = [
    ("label", "数量：", None),
    ("label", "开头：", None),
    ("label", "端口：", None),
    ("text", "数量", "数量："),
    ("text", "开头", "开头："),
    ("text", "端口", "端口："),
    ("text", "列表", None),
    ("push button", "提取", None),
    ("push button", "保存", None),
    ("label", "地区：", None),
    ("text", "地区", "地区："),
    ("label", "运营商：", None),
    ("combo box", "全部运营商", "运营商："),
    ("label", "bug反馈qq：314159", None),
]


class AccessibilityTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.desktop = VirtualDesktop(session_bus=True).__enter__()
        try:
            # The bindings find the accessibility bus through the session bus of this desktop.
            os.environ.update(cls.desktop.env)
            import pyatspi  # pylint: disable=import-outside-toplevel

            cls.pyatspi = pyatspi
            cls.program = cls.desktop.start([PROGRAM], {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
            cls.window = wait_until("the window in the accessibility tree", cls.find_window)
        except BaseException:
            cls.desktop.__exit__(None, None, None)
            raise

    @classmethod
    def tearDownClass(cls):
        cls.desktop.__exit__(None, None, None)

    @classmethod
    def find_window(cls):
        if cls.program.poll() is not None:
            raise AssertionError(f"the program ended with {cls.program.returncode}")
        for application in cls.pyatspi.Registry.getDesktop(0):
            if application is None or application.get_process_id() != cls.program.pid:
                continue
            for window in application:
                if window is not None and window.name == TITLE and \
                        window.childCount == len(EXPECTED):
                    return window
        return None

    def labelled_by(self, accessible):
        for relation in accessible.getRelationSet():
            if relation.getRelationType() == self.pyatspi.RELATION_LABELLED_BY:
                return [relation.getTarget(i).name for i in range(relation.getNTargets())]
        return []

    def test_the_window_is_a_frame_named_by_its_title(self):
        self.assertEqual(self.window.getRoleName(), "frame")
        self.assertEqual(self.window.name, TITLE)

    def test_every_control_has_its_role_and_name(self):
        seen = [(child.getRoleName(), child.name) for child in self.window]
        self.assertEqual(seen, [(role, name) for role, name, _ in EXPECTED])

    def test_every_input_is_labelled_by_its_label(self):
        for child, (role, name, label) in zip(self.window, EXPECTED):
            with self.subTest(name=name):
                self.assertEqual(self.labelled_by(child), [label] if label else [])

    def test_the_combo_box_lists_its_four_items(self):
        combo = next(child for child in self.window if child.getRoleName() == "combo box")
        items = [item.name for item in combo[0]]
        self.assertEqual(items, ["全部运营商", "电信", "联通", "移动"])

    def test_the_labels_name_the_controls_they_label(self):
        for child, (role, name, label) in zip(self.window, EXPECTED):
            if role != "label":
                continue
            with self.subTest(name=name):
                named = [other_name for _, other_name, other_label in EXPECTED
                         if other_label == name]
                targets = []
                for relation in child.getRelationSet():
                    if relation.getRelationType() == self.pyatspi.RELATION_LABEL_FOR:
                        targets = [relation.getTarget(i).name
                                   for i in range(relation.getNTargets())]
                self.assertEqual(targets, named)


if __name__ == "__main__":
    PROGRAM = sys.argv[1]
    unittest.main(argv=sys.argv[:1], verbosity=2)
