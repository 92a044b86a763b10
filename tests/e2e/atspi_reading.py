"""What the end-to-end tests' AT-SPI scripts share: the application of a process, read again until
what is looked for is there. Importing it exits 77 without AT-SPI."""
import sys
import time

try:
    import pyatspi  # noqa: F401 (the scripts take it from here)
except ImportError:
    sys.exit(77)


def application_of(pid):
    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and application.get_process_id() == pid:
            return application
    return None


def read_until_found(read, missing):
    """Calls read(application) for the process given as the first argument until it answers
    something, for at most the seconds given as the second; the answer, or None once
    "{missing} {pid} within N s" is said on stderr."""
    pid, seconds = int(sys.argv[1]), float(sys.argv[2])
    deadline = time.monotonic() + seconds
    while True:
        try:
            application = application_of(pid)
            found = read(application) if application is not None else None
        except Exception:  # the application still registering, changing or going: asked again
            found = None
        if found:
            return found
        if time.monotonic() >= deadline:
            print(f"{missing} {pid} within {seconds:.0f} s", file=sys.stderr)
            return None
        time.sleep(0.3)
