#!/usr/bin/env python3
"""What a screen reader finds in the real brenvo: it starts Xvfb, a private session bus (on which
the accessibility bus starts on demand), a brenvo-dimmer and brenvo in the given language, walks brenvo's accessible tree over AT-SPI and
fails when a control that takes the keyboard's focus has no name. It opens the About box and the
formula editor by keyboard (Alt+Space; Tab to the Predefines box) and walks them too, and checks
the names that some controls must have.

usage: accessible_names.py BRENVO BRENVO_DIMMER LANG EXPECTED_NAME...
"""
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time

pyatspi = None  # imported on the private bus


def stop(process):
    process.terminate()
    try:
        process.wait(5)
    except subprocess.TimeoutExpired:
        process.kill()


def start_display(log):
    """A private Xvfb and its display (":n"). The server picks a free number itself: a number
    seen free in /tmp/.X11-unix may still be taken in the abstract socket namespace, which
    containers and chroots on one machine share, and a client would then reach another server."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24", "-nolisten", "tcp",
         "-noreset"], stdout=log, stderr=log, pass_fds=(write_end,))
    os.close(write_end)
    number = b""
    end = time.monotonic() + 30
    while not number.endswith(b"\n") and time.monotonic() < end:
        ready, _, _ = select.select([read_end], [], [], 0.5)
        if ready:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
    os.close(read_end)
    if not number.strip().isdigit():
        server.kill()
        server.wait()
        raise RuntimeError("Xvfb did not start")
    return server, ":" + number.strip().decode()


def wait_for(what, check, seconds=30, last=None):
    """`last` tells what was there instead when the wait runs out."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = check()
        if found:
            return found
        time.sleep(0.1)
    seen = f" (there was {last()!r})" if last else ""
    raise RuntimeError(f"timed out after {seconds} s waiting for {what}{seen}")


# Their rows and cells are data, named by what they show: a walk stops at the list itself (a table
# page holds 256 rows of two cells).
LISTS = {"tree", "tree table", "table", "list"}


def walk(node, depth=0):
    """Every accessible below `node` (a bounded depth: a broken tree cannot loop forever)."""
    if node is None or depth > 40:
        return
    yield node
    try:
        if node.getRoleName() in LISTS:
            return
        count = node.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1)


def brenvo_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name and app.name.lower().startswith("brenvo"):
            return app
    return None


def windows(app, prefix):
    return [w for w in app if w is not None and (w.name or "").startswith(prefix)]


def unnamed_focusable(window):
    """The focusable controls of a window without a name, as 'role at path'."""
    missing = []
    for node in walk(window):
        try:
            states = node.getState()
            role = node.getRoleName()
        except Exception:
            continue
        if states.contains(pyatspi.STATE_FOCUSABLE) and not (node.name or "").strip():
            missing.append(role)
    return missing


def names(window):
    return {(node.name or "") for node in walk(window)}


def main():
    """Runs the check on a display, a runtime folder and a session bus of its own: the
    accessibility bus names its socket after them, so that checks running side by side stay
    apart."""
    runtime = tempfile.mkdtemp(prefix="brenvo-atspi-")
    os.chmod(runtime, 0o700)
    log = open(os.path.join(runtime, "xvfb.log"), "w")
    server = None
    try:
        server, display = start_display(log)
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime, DISPLAY=display)
        return subprocess.run(["dbus-run-session", "--", sys.executable, __file__, "--inner",
                               *sys.argv[1:]], env=env).returncode
    finally:
        if server:
            stop(server)
        log.close()
        shutil.rmtree(runtime, ignore_errors=True)


def inner():
    global pyatspi
    import pyatspi as client
    pyatspi = client
    brenvo, dimmer, language = sys.argv[2:5]
    expected = sys.argv[5:]
    runtime = os.environ["XDG_RUNTIME_DIR"]
    env = dict(os.environ)
    for key in ("LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES"):
        env.pop(key, None)
    if language:
        env["LANG"] = language
    env.update(QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    log = open(os.path.join(runtime, "log"), "w")
    started = []
    try:
        started.append(subprocess.Popen([dimmer, "--model", "qp4"], env=env,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL))
        wait_for("the emulated cable", lambda: os.path.exists(
            os.path.join(runtime, "brenvo", "ports", "CABLE0.description")))
        started.append(subprocess.Popen([brenvo], env=env, stdout=log, stderr=log))

        app = wait_for("brenvo on the accessibility bus", brenvo_app)
        main_window = wait_for("the main window", lambda: (windows(app, "Brenvo V") or [None])[0])
        wait_for("the dimmer found", lambda: "Online" in (main_window.name or ""),
                 last=lambda: main_window.name)
        problems = []
        missing = unnamed_focusable(main_window)
        if missing:
            problems.append(f"main window: focusable controls without a name: {missing}")
        shown = names(main_window)
        for name in expected:
            if name not in shown:
                problems.append(f"main window: no control named {name!r}")

        def keys(*sequence):
            subprocess.run(["xdotool", "key", "--delay", "100", *sequence], env=env, check=True)

        def dialog_shown():
            return [w for w in app if w is not None and w != main_window
                    and w.getRoleName() == "dialog"]

        def check_dialog(what):
            dialog = wait_for(what, lambda: (dialog_shown() or [None])[0], 10)
            missing = unnamed_focusable(dialog)
            if missing:
                problems.append(f"{what}: focusable controls without a name: {missing}")
            keys("Escape")
            wait_for(f"{what} to close", lambda: not dialog_shown(), 10)
            # No window manager gives the keyboard back to the main window.
            subprocess.run(["xdotool", "search", "--name", "^Brenvo V", "windowfocus", "--sync"],
                           env=env, check=True, stdout=subprocess.DEVNULL)

        # The About box from the window menu (Alt+Space, then its letter).
        keys("alt+space", "o")
        check_dialog("the About box")
        # The formula editor from the Predefines box of the page on show, all by keyboard: Tab
        # until the box has the focus, open it, choose Formula.
        def box_focused():
            return any(node.getRoleName() == "combo box"
                       and node.getState().contains(pyatspi.STATE_FOCUSED)
                       for node in walk(main_window))

        for _ in range(40):
            if box_focused():
                break
            keys("Tab")
        if not box_focused():
            problems.append("main window: Tab never reaches the Predefines box")
        else:
            keys("alt+Down", *["Down"] * 8, "Return")
            check_dialog("the formula editor")
        if problems:
            print("\n".join(problems))
            return 1
        print(f"every focusable control is named ({language or 'English'})")
        return 0
    except Exception:
        log.flush()
        with open(os.path.join(runtime, "log")) as text:
            print("what the programs said:\n" + text.read()[-3000:])
        raise
    finally:
        for process in reversed(started):
            stop(process)
        log.close()


if __name__ == "__main__":
    sys.exit(inner() if sys.argv[1:2] == ["--inner"] else main())
