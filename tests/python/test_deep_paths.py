"""Opening a database on a new path of many components, on small stacks.

Each open runs in a child interpreter, so that a crash fails its case
instead of ending the run.
"""

import os
import resource
import subprocess
import sys

import pytest

# Opens argv[1] on the main thread (argv[2] == "0") or on a thread with a
# stack of argv[2] bytes; prints "opened" or the RuntimeError's text.
OPEN = r"""
import sys, threading, zelvo

def attempt():
    try:
        zelvo.Database.open(sys.argv[1])
        print("opened")
    except RuntimeError as error:
        print(error)

stack = int(sys.argv[2])
if stack:
    threading.stack_size(stack)
    thread = threading.Thread(target=attempt)
    thread.start()
    thread.join()
else:
    attempt()
"""

PATH_MAX = os.pathconf("/", "PC_PATH_MAX")
TOO_LONG = ("Failed to open database: Storage error: Failed to create database directory: "
            "File name too long (os error 36)")


def small_main_stack():
    """The child's main thread as under `ulimit -s 256`."""
    resource.setrlimit(resource.RLIMIT_STACK, (256 * 1024, resource.getrlimit(resource.RLIMIT_STACK)[1]))


def remove_chain(base, components):
    """Removes what was made of base/a/a/..., from the deepest directory up
    (a recursive removal would go as deep)."""
    for depth in range(components, 0, -1):
        path = base + "/a" * depth
        if len(path) < PATH_MAX and os.path.isdir(path):
            os.rmdir(path)


# 3,000 components are more text than a path may have.
@pytest.mark.parametrize("components", [1_000, 2_000, 3_000])
@pytest.mark.parametrize("stack", [128 * 1024, 256 * 1024, "main thread, ulimit -s 256"])
def test_deep_new_path_opens_or_fails_cleanly(tmp_path, components, stack):
    base = str(tmp_path)
    path = base + "/" + "a/" * components
    on_main = isinstance(stack, str)
    try:
        child = subprocess.run(
            [sys.executable, "-c", OPEN, path, "0" if on_main else str(stack)],
            capture_output=True,
            text=True,
            preexec_fn=small_main_stack if on_main else None,
        )
        assert child.returncode == 0, (child.returncode, child.stderr[-2000:])
        # Paths the system takes are made; longer ones fail at the first mkdir.
        expected = "opened" if len(path) < PATH_MAX else TOO_LONG
        assert child.stdout.strip() == expected
        assert os.path.isdir(path) == (expected == "opened")
    finally:
        remove_chain(base, components)
