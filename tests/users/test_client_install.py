"""The Python client installs with pip from its folder, offline, and the
installed copy is the one a program then imports."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

from headless_server import SOURCE_DIR


class ClientInstallTest(unittest.TestCase):
    def test_pip_installs_the_client_from_its_folder(self):
        work = tempfile.mkdtemp(prefix="vanter-pip-")
        self.addCleanup(shutil.rmtree, work)
        # pip builds in the folder it is given: a copy keeps the sources clean.
        source = shutil.copytree(os.path.join(SOURCE_DIR, "clients", "python"), os.path.join(work, "source"),
                                 ignore=shutil.ignore_patterns("__pycache__", "build", "*.egg-info"))
        target = os.path.join(work, "site")
        install = subprocess.run([sys.executable, "-m", "pip", "install", "--no-build-isolation", "--no-index",
                                  "--target", target, source], capture_output=True, text=True, timeout=300)
        self.assertEqual(install.returncode, 0, install.stdout + install.stderr)
        environment = {name: value for name, value in os.environ.items() if name != "PYTHONPATH"}
        environment["PYTHONPATH"] = target
        imported = subprocess.run([sys.executable, "-c", "import gnxp; print(gnxp.__file__, gnxp.__version__)"],
                                  capture_output=True, text=True, env=environment, cwd=work, timeout=60)
        self.assertEqual(imported.returncode, 0, imported.stderr)
        location, version = imported.stdout.split()
        self.assertTrue(location.startswith(target), location)
        self.assertRegex(version, r"^\d+\.\d+\.\d+$")


if __name__ == "__main__":
    unittest.main()
