"""HeadlessServer: the real VanterServerHeadless for Python tests, on a free
port (VANTER_PORT) in a fresh temporary working directory, its output kept in
files there; stopped and its directory removed on exit. The programs are
found in VANTER_BIN_DIR, which ctest sets."""

import os
import shutil
import signal
import socket
import subprocess
import tempfile
import time

BIN_DIR = os.path.abspath(os.environ.get("VANTER_BIN_DIR", "build/bin"))
SOURCE_DIR = os.path.abspath(os.environ.get("VANTER_SOURCE_DIR", "."))
SERVING = "TCPServer running..."


def free_port() -> int:
    """A TCP port that was free a moment ago (the kernel's choice for port 0)."""
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def wait_for(condition, limit: float, poll: float = 0.02) -> bool:
    """True once `condition()` holds; False when `limit` seconds pass first."""
    deadline = time.monotonic() + limit
    while not condition():
        if time.monotonic() > deadline:
            return False
        time.sleep(poll)
    return True


class HeadlessServer:
    def __init__(self, environment: dict | None = None):
        self.port = free_port()
        self.directory = tempfile.mkdtemp(prefix="vanter-server-")
        added = {"VANTER_PORT": str(self.port), **(environment or {})}
        with open(self._path("server.stdout"), "wb") as out, open(self._path("server.stderr"), "wb") as err:
            self.process = subprocess.Popen([os.path.join(BIN_DIR, "VanterServerHeadless")], cwd=self.directory,
                                            env={**os.environ, **added}, stdin=subprocess.DEVNULL, stdout=out,
                                            stderr=err)
        if not wait_for(lambda: SERVING in self.log() or self.process.poll() is not None, 10) \
                or SERVING not in self.log():
            output = self.log()
            self.close()
            raise RuntimeError(f"the server did not start serving; its log:\n{output}")

    def __enter__(self) -> "HeadlessServer":
        return self

    def __exit__(self, *exception) -> None:
        self.close()

    def _path(self, name: str) -> str:
        return os.path.join(self.directory, name)

    def log(self) -> str:
        with open(self._path("server.stdout"), encoding="latin-1") as file:
            return file.read()

    def stop(self, how: int = signal.SIGTERM) -> int:
        """Sends `how` and waits for the end: the exit status."""
        if self.process.poll() is None:
            self.process.send_signal(how)
        try:
            return self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            return self.process.wait()

    def close(self) -> None:
        self.stop()
        shutil.rmtree(self.directory, ignore_errors=True)
