"""The Debian package that cpack makes from this build, unpacked into a
temporary root (no root install): its dependencies, the installed gnxp
running an installed example, and the service unit it installs."""

import os
import re
import shutil
import subprocess
import tempfile
import unittest

import gnxp
from headless_server import BIN_DIR, SOURCE_DIR

BUILD_DIR = os.environ.get("VANTER_BUILD_DIR", "build")
RUNTIME_PACKAGES = ["libxerces-c3.2", "libqt6core6", "libqt6gui6", "libqt6widgets6", "fonts-liberation2"]
INSTALLED = ["usr/bin/gnxp", "usr/bin/VanterServerHeadless", "usr/bin/VanterServer",
             "usr/share/vanterserver/schema/GNschema.xsd", "usr/share/doc/vanterserver/deploy.md",
             "usr/share/doc/vanterserver/haproxy.cfg", "usr/lib/systemd/system/vanterserver.service"]


def run(command: list[str], **options) -> subprocess.CompletedProcess:
    return subprocess.run(command, capture_output=True, text=True, timeout=600, **options)


class PackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="vanter-package-")
        made = run(["cpack", "-G", "DEB", "--config", os.path.join(BUILD_DIR, "CPackConfig.cmake"),
                    "-B", cls.work])
        packages = [name for name in os.listdir(cls.work) if name.endswith(".deb")]
        if made.returncode != 0 or len(packages) != 1:
            shutil.rmtree(cls.work)
            raise AssertionError(f"cpack made {packages}:\n{made.stdout}{made.stderr}")
        cls.package = os.path.join(cls.work, packages[0])
        cls.root = os.path.join(cls.work, "root")
        subprocess.run(["dpkg-deb", "-x", cls.package, cls.root], check=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work)

    def path(self, relative: str) -> str:
        return os.path.join(self.root, relative)

    def test_the_package_depends_on_the_runtime_packages_and_holds_the_files(self):
        depends = run(["dpkg-deb", "-f", self.package, "Depends"]).stdout
        names = {entry.split()[0] for entry in depends.replace("|", ",").split(",") if entry.strip()}
        self.assertLessEqual(set(RUNTIME_PACKAGES), names, depends)
        if os.path.exists(os.path.join(BIN_DIR, "Calvix.exe")):
            self.assertIn("octave", names, depends)
            self.assertTrue(os.access(self.path("usr/bin/Calvix.exe"), os.X_OK))
        missing = [name for name in INSTALLED if not os.path.exists(self.path(name))]
        self.assertEqual(missing, [])

    def test_the_installed_gnxp_runs_an_installed_example(self):
        example = self.path("usr/share/vanterserver/examples/queue.xml")
        installed = run([self.path("usr/bin/gnxp"), "run", example, "--steps", "6"], cwd=self.work)
        built = run([os.path.join(BIN_DIR, "gnxp"), "run", os.path.join(SOURCE_DIR, "examples", "queue.xml"),
                     "--steps", "6"])
        self.assertEqual(installed.returncode, 0, installed.stderr)
        events = gnxp.parse_events(installed.stdout.encode("latin-1"))
        self.assertGreater(len(events), 0)
        self.assertEqual(events, gnxp.parse_events(built.stdout.encode("latin-1")))

    def test_the_service_unit_starts_an_installed_program_and_verifies(self):
        with open(self.path("usr/lib/systemd/system/vanterserver.service")) as file:
            unit = file.read()
        program = re.search(r"(?m)^ExecStart=(\S+)$", unit).group(1)
        # systemd finds a bare name in /usr/bin, among other places.
        installed = os.path.join(self.path("usr/bin"), os.path.basename(program))
        self.assertTrue(os.access(installed, os.X_OK), program)
        analyze = shutil.which("systemd-analyze")
        if analyze is None:
            self.skipTest("systemd-analyze is not installed: the unit's settings are not checked")
        # Verifying checks that the program exists, so this copy names the unpacked one.
        copy = os.path.join(self.work, "vanterserver.service")
        with open(copy, "w") as file:
            file.write(unit.replace(f"ExecStart={program}", f"ExecStart={installed}"))
        verified = run([analyze, "verify", copy])
        self.assertEqual((verified.returncode, verified.stderr), (0, ""), verified.stdout)

if __name__ == "__main__":
    unittest.main()
