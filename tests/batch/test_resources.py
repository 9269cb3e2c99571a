"""The report page and the snapshot procedure exist once, in resources/: quorvex-run embeds
them, a package installed from the sources carries the same bytes (the wheel's are checked
by test_wheel), no other file of the tree holds a copy, and the runner and the package write
the same pictures of the same windows."""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
RESOURCES = os.path.join(ROOT, "resources")
NAMES = sorted(os.listdir(RESOURCES))
PACKAGE = os.path.join(ROOT, "python")
RUNNER = os.environ["QUORVEX_RUN"]
PROCEDURES = os.path.join(os.environ["QUORVEX_TEST_DATA"], "procedures")
# Where a stray copy would hide: the library's, the runner's and the packages' sources, the
# examples (the tests' hostile procedures share a few lines with the real one, not most).
SEARCHED = ("api", "common", "tools", "python", "dotnet", "java", "examples")
SUFFIXES = (".cc", ".h", ".inc", ".py", ".html", ".hdvp", ".cs", ".java", ".cmake", ".txt")


def resource(name):
    with open(os.path.join(RESOURCES, name), "rb") as file:
        return file.read()


def distinctive_lines(data):
    """A resource's lines long enough to tell it apart from other HDevelop or HTML."""
    return {line.strip() for line in data.splitlines() if len(line.strip()) > 24}


def builder():
    """An interpreter that can build the package from its sources without an index."""
    # setuptools first: importing pip before it trips setuptools' distutils shim.
    probe = "import setuptools, wheel, pip"
    for python in (sys.executable, shutil.which("python3"), "/usr/bin/python3"):
        if python and os.path.exists(python) and subprocess.run(
                [python, "-c", probe], capture_output=True).returncode == 0:
            return python
    return None


# Uses the installed package as a user would: writes a report and the pictures of two windows.
INSTALLED = """
import json, os, sys, quorvex, quorvex.report
page = quorvex.report.write(os.path.join(sys.argv[1], "report"), [])
quorvex.init()
quorvex.add_procedure_path(sys.argv[2])
with quorvex.Procedure("two_windows") as show:
    show()
pictures = quorvex.report.snapshots(os.path.join(sys.argv[1], "shots"), "")
folder = os.path.dirname(quorvex.__file__)
print(json.dumps({"package": folder, "page": page, "pictures": pictures}))
"""


class OneCopyTest(unittest.TestCase):
    def test_quorvex_run_embeds_each_resource_unchanged(self):
        with open(RUNNER, "rb") as file:
            runner = file.read()
        for name in NAMES:
            with self.subTest(resource=name):
                self.assertIn(resource(name), runner)

    def test_no_other_file_of_the_tree_holds_a_copy(self):
        for name in NAMES:
            lines = distinctive_lines(resource(name))
            with self.subTest(resource=name):
                copies = []
                for top in SEARCHED:
                    for folder, subfolders, files in os.walk(os.path.join(ROOT, top)):
                        subfolders[:] = [s for s in subfolders if s not in ("build", "bin", "obj")]
                        for file in files:
                            if not file.endswith(SUFFIXES):
                                continue
                            path = os.path.join(folder, file)
                            with open(path, "rb") as opened:
                                text = opened.read()
                            # Most of its lines, whatever was edited in the copy.
                            if sum(line in text for line in lines) * 2 > len(lines):
                                copies.append(os.path.relpath(path, ROOT))
                self.assertEqual(copies, [], f"copies of resources/{name}")


class InstalledFromSourcesTest(unittest.TestCase):
    def test_a_package_installed_from_the_sources_carries_the_resources_and_uses_them(self):
        python = builder()
        if python is None:
            self.skipTest("no interpreter here has pip, setuptools and wheel")
        with tempfile.TemporaryDirectory() as sources, tempfile.TemporaryDirectory() as home:
            # A copy of the tree's parts the package is built from; the install lies elsewhere,
            # so that nothing is found through the tree.
            for part in ("python", "resources", "include"):
                shutil.copytree(os.path.join(ROOT, part), os.path.join(sources, part),
                                ignore=shutil.ignore_patterns("build", "*.egg-info", "__pycache__"))
            site = os.path.join(home, "site")
            env = {k: v for k, v in os.environ.items() if k != "PYTHONPATH"}
            install = subprocess.run(
                [python, "-m", "pip", "install", "--quiet", "--no-build-isolation", "--no-index",
                 "--target", site, os.path.join(sources, "python")],
                cwd=home, env=env, capture_output=True, text=True, timeout=300)
            self.assertEqual(install.returncode, 0, install.stderr)
            shutil.rmtree(sources)
            used = subprocess.run([python, "-c", INSTALLED, home, PROCEDURES], cwd=home,
                                  env=dict(env, PYTHONPATH=site), capture_output=True,
                                  text=True, timeout=300)
            self.assertEqual(used.returncode, 0, used.stderr)
            seen = json.loads(used.stdout.splitlines()[-1])
            self.assertTrue(seen["package"].startswith(site), seen)
            for name in NAMES:
                with self.subTest(resource=name):
                    with open(os.path.join(seen["package"], name), "rb") as file:
                        self.assertEqual(file.read(), resource(name))
            self.assertTrue(os.path.isfile(seen["page"]))
            self.assertEqual(len(seen["pictures"]), 2)


PACKAGE_SNAPSHOTS = """
import json, sys, quorvex, quorvex.report
quorvex.init()
quorvex.add_procedure_path(sys.argv[1])
with quorvex.Procedure("two_windows") as show:
    show()
print(json.dumps(quorvex.report.snapshots(sys.argv[2], "")))
"""


class SamePicturesTest(unittest.TestCase):
    def test_the_runner_and_the_package_write_the_same_pictures_of_the_same_windows(self):
        with tempfile.TemporaryDirectory() as scratch:
            by_runner, by_package = (os.path.join(scratch, side) for side in ("runner", "package"))
            run = subprocess.run([RUNNER, "--procedure", "two_windows", "--path", PROCEDURES,
                                  "--snapshots", by_runner], capture_output=True, text=True,
                                 timeout=120)
            self.assertEqual(run.returncode, 0, run.stderr)
            package = subprocess.run([sys.executable, "-c", PACKAGE_SNAPSHOTS, PROCEDURES,
                                      by_package], env=dict(os.environ, PYTHONPATH=PACKAGE),
                                     capture_output=True, text=True, timeout=120)
            self.assertEqual(package.returncode, 0, package.stderr)
            self.assertEqual(len(json.loads(package.stdout.splitlines()[-1])), 2)

            def pictures(folder):
                found = []
                for name in sorted(os.listdir(folder)):
                    with open(os.path.join(folder, name), "rb") as file:
                        found.append(file.read())
                return sorted(found)

            self.assertEqual(pictures(by_runner), pictures(by_package))


if __name__ == "__main__":
    unittest.main()
