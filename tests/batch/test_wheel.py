"""The built wheel installed as a user installs it: a fresh venv, no index, no source tree."""
import glob
import os
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


class WheelTest(unittest.TestCase):
    def test_the_package_is_marked_typed(self):
        self.assertEqual(len(WHEELS), 1, WHEELS)
        with zipfile.ZipFile(WHEELS[0]) as wheel:
            self.assertIn("quorvex/py.typed", wheel.namelist())

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
