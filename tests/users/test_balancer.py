"""deploy/haproxy.cfg in front of two real servers on loopback: forty
conversations through the balancer, each with the events of the same run
in-process, spread over both servers; with one server stopped, new
conversations still complete on the other, and the health check marks the
stopped one down and only that one."""

import os
import re
import shutil
import socket
import subprocess
import tempfile
import unittest
from concurrent.futures import ThreadPoolExecutor

import gnxp
from headless_server import BIN_DIR, SOURCE_DIR, HeadlessServer, free_port, wait_for

QUEUE = os.path.join(SOURCE_DIR, "examples", "queue.xml")
STEPS = 12
CONVERSATIONS = 40
AT_ONCE = 8
INITIALIZED = "GN Initialization successful."


def in_process_events() -> list[gnxp.Event]:
    run = subprocess.run([os.path.join(BIN_DIR, "gnxp"), "run", QUEUE, "--steps", str(STEPS)],
                         capture_output=True, check=True, timeout=60)
    return gnxp.parse_events(run.stdout, STEPS)


def balancer_config(port: int, server_ports: list[int]) -> str:
    """The shipped configuration, listening on `port` of loopback, with its
    servers at `server_ports` there, checked every 100 ms."""
    with open(os.path.join(SOURCE_DIR, "deploy", "haproxy.cfg")) as file:
        text = file.read()
    text, binds = re.subn(r"(?m)^(\s*bind )\S+", rf"\g<1>127.0.0.1:{port}", text)
    addresses = iter(server_ports)
    text, servers = re.subn(r"(?m)^(\s*server \S+ )\S+", lambda m: f"{m.group(1)}127.0.0.1:{next(addresses)}", text)
    text, intervals = re.subn(r"\binter \S+", "inter 100ms", text)
    if (binds, servers, intervals) != (1, len(server_ports), 1):
        raise AssertionError(f"deploy/haproxy.cfg has {binds} bind, {servers} server and {intervals} inter settings")
    return text


class BalancerTest(unittest.TestCase):
    def setUp(self):
        haproxy = shutil.which("haproxy") or shutil.which("haproxy", path="/usr/sbin:/sbin")
        self.assertIsNotNone(haproxy, "haproxy is not installed: scripts/setup installs it")
        self.servers = [HeadlessServer(), HeadlessServer()]
        for server in self.servers:
            self.addCleanup(server.close)
        self.port = free_port()
        directory = tempfile.mkdtemp(prefix="vanter-haproxy-")
        self.addCleanup(shutil.rmtree, directory)
        config = os.path.join(directory, "haproxy.cfg")
        with open(config, "w") as file:
            file.write(balancer_config(self.port, [server.port for server in self.servers]))
        self.output = open(os.path.join(directory, "haproxy.log"), "a+")  # appended to: reading moves no write position
        self.addCleanup(self.output.close)
        self.balancer = subprocess.Popen([haproxy, "-db", "-f", config], stdout=self.output, stderr=self.output)
        self.addCleanup(self.balancer.wait, 10)
        self.addCleanup(self.balancer.terminate)
        self.assertTrue(wait_for(self.balancer_listens, 10) and self.balancer.poll() is None, self.balancer_log())

    def balancer_listens(self) -> bool:
        try:
            socket.create_connection(("127.0.0.1", self.port), timeout=1).close()
            return True
        except OSError:
            return self.balancer.poll() is not None  # it ended: stop waiting

    def balancer_log(self) -> str:
        self.output.seek(0)
        return self.output.read()

    def conversation(self, _=None) -> list[gnxp.Event]:
        with gnxp.Connection("127.0.0.1", self.port, timeout=30) as net:
            net.init(path=QUEUE)
            return net.step(STEPS)

    def conversations(self, count: int) -> list[list[gnxp.Event]]:
        with ThreadPoolExecutor(AT_ONCE) as pool:
            return list(pool.map(self.conversation, range(count)))

    def served(self) -> list[int]:
        return [server.log().count(INITIALIZED) for server in self.servers]

    def test_conversations_spread_over_servers_and_survive_one_stopping(self):
        expected = in_process_events()
        self.assertEqual(self.conversations(CONVERSATIONS), [expected] * CONVERSATIONS)
        # A server's log lines may come out after its answers: wait for them.
        wait_for(lambda: sum(self.served()) >= CONVERSATIONS, 10)
        first, second = self.served()
        self.assertEqual(first + second, CONVERSATIONS)
        self.assertGreater(min(first, second), 0)

        self.servers[0].stop()
        self.assertEqual(self.conversations(AT_ONCE), [expected] * AT_ONCE, self.balancer_log())
        wait_for(lambda: self.served()[1] >= second + AT_ONCE, 10)
        self.assertEqual(self.served()[1], second + AT_ONCE)
        self.assertTrue(wait_for(lambda: "vanter1 is DOWN" in self.balancer_log(), 10), self.balancer_log())
        self.assertNotIn("vanter2 is DOWN", self.balancer_log())


if __name__ == "__main__":
    unittest.main()
