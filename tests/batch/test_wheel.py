"""The built wheel installed as a user installs it: a fresh venv, no index, no source tree."""
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

EXAMPLE = os.path.join(os.environ["QUORVEX_EXAMPLES"], "inspection")
WHEELS = glob.glob(os.path.join(os.environ["QUORVEX_WHEELS"], "quorvex-*.whl"))

# A procedure calling one of HDevelop's standard procedures, which only the wheel carries.
SHOW_MESSAGE = os.path.join(os.environ["QUORVEX_TEST_DATA"], "procedures", "show_message.hdvp")

# Where the library and the stand-ins came from, seen from inside the process, after running
# a procedure that needs the standard procedures.
WHERE = """
import quorvex
quorvex.init()
quorvex.add_procedure_path('.')
with quorvex.Procedure('inspect_parts') as inspect:
    inspect(ImagePath='parts.png', MinGray=128, MaxGray=255)
with quorvex.Procedure('show_message') as show:
    show()
with open('/proc/self/maps') as maps:
    print(sorted({line.split()[-1] for line in maps if '.so' in line and (
        'quorvex' in line or 'halcon' in line or 'hdevengine' in line)}))
"""


def _objdump_glibc(wheel):
    """The newest GLIBC_2.N any library in the wheel needs, read by objdump."""
    newest = 0
    with tempfile.TemporaryDirectory() as folder, zipfile.ZipFile(wheel) as archive:
        for name in archive.namelist():
            if name.endswith(".so"):
                path = archive.extract(name, folder)
                table = subprocess.run(["objdump", "-T", path], check=True, text=True,
                                       capture_output=True).stdout
                for minor in re.findall(r"GLIBC_2\.(\d+)", table):
                    newest = max(newest, int(minor))
    return newest


def _pip_accepts(wheel, platform):
    """Whether pip would install the wheel on a system of the manylinux platform given."""
    with tempfile.TemporaryDirectory() as folder:
        result = subprocess.run(
            [sys.executable, "-m", "pip", "install", "--dry-run", "--quiet", "--no-index",
             "--find-links", os.path.dirname(wheel), "--only-binary=:all:", "--platform",
             platform, "--target", folder, "quorvex"], capture_output=True, text=True,
            timeout=300)
    return result.returncode == 0


class TagTest(unittest.TestCase):
    """The wheel states the oldest system its libraries run on, and pip holds older ones off."""

    def setUp(self):
        self.assertEqual(len(WHEELS), 1, WHEELS)
        self.tag = os.path.basename(WHEELS[0])[:-4].split("-")[-1]

    def test_the_tag_is_manylinux_at_the_glibc_its_libraries_need(self):
        match = re.fullmatch(r"manylinux_2_(\d+)_x86_64", self.tag)
        self.assertIsNotNone(match, self.tag)
        if shutil.which("objdump") is None:
            self.skipTest("objdump (binutils) is not installed")
        self.assertGreaterEqual(int(match.group(1)), _objdump_glibc(WHEELS[0]))

    def test_pip_installs_it_at_its_glibc_and_refuses_it_below(self):
        minor = int(self.tag.split("_")[2])
        for platform, accepted in ((f"manylinux_2_{minor}_x86_64", True),
                                   (f"manylinux_2_{minor - 1}_x86_64", False),
                                   ("manylinux2014_x86_64", False),
                                   ("linux_x86_64", False)):
            with self.subTest(platform):
                self.assertEqual(_pip_accepts(WHEELS[0], platform), accepted)

    def test_auditwheel_agrees(self):
        auditwheel = shutil.which("auditwheel")
        if auditwheel is None:
            self.skipTest("auditwheel is not installed (Debian has no package of it)")
        shown = subprocess.run([auditwheel, "show", WHEELS[0]], capture_output=True, text=True,
                               timeout=300)
        print(" ".join(shown.stdout.split()))
        self.assertIn(f'consistent with the following platform tag: "{self.tag}"',
                      " ".join(shown.stdout.split()))


class WheelTest(unittest.TestCase):
    def test_the_package_is_marked_typed(self):
        self.assertEqual(len(WHEELS), 1, WHEELS)
        with zipfile.ZipFile(WHEELS[0]) as wheel:
            self.assertIn("quorvex/py.typed", wheel.namelist())

    def test_it_ships_the_runners_resources_unchanged(self):
        # quorvex-run embeds the same files: the report page and the snapshot procedure.
        resources = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(
            os.path.abspath(__file__)))), "resources")
        with zipfile.ZipFile(WHEELS[0]) as wheel:
            for name in sorted(os.listdir(resources)):
                with self.subTest(name=name), open(os.path.join(resources, name), "rb") as file:
                    self.assertEqual(wheel.read("quorvex/" + name), file.read())

    def test_a_fresh_venv_runs_the_example_from_the_wheel_alone(self):
        self.assertEqual(len(WHEELS), 1, WHEELS)
        with tempfile.TemporaryDirectory() as home:
            venv = os.path.join(home, "venv")
            subprocess.run([sys.executable, "-m", "venv", venv], check=True, timeout=300)
            python = os.path.join(venv, "bin", "python")
            env = {k: v for k, v in os.environ.items()
                   if k not in ("QUORVEX_LIBRARY", "PYTHONPATH", "PYTHONHOME")}
            subprocess.run([python, "-m", "pip", "install", "--quiet", "--no-index", WHEELS[0]],
                           check=True, env=env, timeout=300)
            work = os.path.join(home, "work")
            os.mkdir(work)
            for name in ("inspect.py", "inspect_parts.hdvp", "parts.png"):
                shutil.copy(os.path.join(EXAMPLE, name), work)
            shutil.copy(SHOW_MESSAGE, work)
            report = subprocess.run([python, "inspect.py"], cwd=work, env=env, text=True,
                                    capture_output=True, timeout=300)
            self.assertEqual(report.returncode, 0, report.stderr)
            self.assertIn("Areas: [7200, 441, 2821, 400, 4000, 6361, 1257, 4500, 36]",
                          report.stdout)
            where = subprocess.run([python, "-c", WHERE], cwd=work, env=env, text=True,
                                   capture_output=True, timeout=300)
            self.assertEqual(where.returncode, 0, where.stderr)
            loaded = eval(where.stdout)
            self.assertLessEqual({"libquorvex32-11.0.so", "libhalconcpp.so", "libhdevenginecpp.so"},
                                 {os.path.basename(path) for path in loaded})
            for path in loaded:
                self.assertTrue(path.startswith(os.path.realpath(venv)), path)


if __name__ == "__main__":
    unittest.main()
