"""A desktop of our own for tests of the real program: a virtual X server (Xvfb) on a display
number it picks itself, and on request a window manager (openbox) and a session D-Bus with the
accessibility bus behind it. Everything started here is ended here, in reverse order."""

import os
import re
import subprocess
import time

# The bounds only keep a broken program from hanging the run; a loaded machine stays inside them.
PATIENCE_SECONDS = 60

TITLE = "Quillmere__Tarnwick工具"


def wait_until(what, predicate, timeout=PATIENCE_SECONDS, interval=0.1):
    """Polls predicate until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(interval)


def run(*command, env=None):
    """Output of a short X tool; empty when it fails."""
    done = subprocess.run(command, env=env, capture_output=True, text=True, timeout=PATIENCE_SECONDS)
    return done.stdout if done.returncode == 0 else ""


class VirtualDesktop:
    def __init__(self, width=1024, height=768, window_manager=False, session_bus=False):
        self.size = (width, height)
        self.window_manager = window_manager
        self.session_bus = session_bus
        self.env = dict(os.environ)
        self._processes = []

    def __enter__(self):
        try:
            self._start_x_server()
            if self.session_bus:
                self._start_session_bus()
            if self.window_manager:
                self._start_window_manager()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *exc):
        for process in reversed(self._processes):
            if process.poll() is None:
                process.terminate()
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        self._processes.clear()
        return False

    def start(self, command, extra_env=None):
        """Starts a program on this desktop; it is ended with the desktop."""
        env = dict(self.env)
        env.update(extra_env or {})
        process = subprocess.Popen(command, env=env)
        self._processes.append(process)
        return process

    def _start_x_server(self):
        # -displayfd: the server takes a free display number and writes it to us. -noreset: by
        # default the server starts over when its last client leaves, and a client that comes
        # in meanwhile (the window manager after the readiness check) finds no server.
        read_end, write_end = os.pipe()
        width, height = self.size
        server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._processes.append(server)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise AssertionError("Xvfb did not start")
        self.env["DISPLAY"] = f":{number}"
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env["QT_QPA_PLATFORM"] = "xcb"
        wait_until("the X server", lambda: run("xdpyinfo", env=self.env))

    def _start_session_bus(self):
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                               env=self.env)
        self._processes.append(bus)
        address = bus.stdout.readline().strip()
        if not address:
            raise AssertionError("the session bus did not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address

    def _start_window_manager(self):
        self.start(["openbox", "--sm-disable"])

        def managing():
            root = run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", env=self.env)
            return re.search(r"window id # (0x[0-9a-f]+)", root)

        wait_until("the window manager", managing)

    # X tools on this display.

    def x(self, *command):
        return run(*command, env=self.env)

    def window_of(self, process, title=TITLE):
        """The mapped top-level window of the process with the given title."""

        def find():
            for line in self.x("xdotool", "search", "--onlyvisible", "--pid",
                               str(process.pid)).split():
                if title in self.x("xprop", "-id", line, "_NET_WM_NAME"):
                    return line
            if process.poll() is not None:
                raise AssertionError(f"the program ended with {process.returncode}")
            return None

        return wait_until(f"the window '{title}'", find)

    def frame_extents(self, window):
        """left, right, top, bottom of the frame the window manager put around the window."""
        match = re.search(r"=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)",
                          self.x("xprop", "-id", window, "_NET_FRAME_EXTENTS"))
        return tuple(int(n) for n in match.groups()) if match else None

    def client_rectangle(self, window):
        """x, y, width, height of the window's client area on the screen."""
        info = self.x("xwininfo", "-id", window)
        fields = {}
        for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"):
            match = re.search(rf"{key}:\s*(-?\d+)", info)
            if match is None:
                return None
            fields[key] = int(match.group(1))
        return (fields["Absolute upper-left X"], fields["Absolute upper-left Y"], fields["Width"],
                fields["Height"])

    def outer_rectangle(self, window):
        """x, y, width, height of the window with its frame, as the window manager reports it."""
        extents = self.frame_extents(window)
        client = self.client_rectangle(window)
        if extents is None or client is None:
            return None
        left, right, top, bottom = extents
        x, y, width, height = client
        return (x - left, y - top, width + left + right, height + top + bottom)
