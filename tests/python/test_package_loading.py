"""quorvex.load: where the library is looked for, and every export declared once."""
import ctypes
import os
import subprocess
import sys
import textwrap
import unittest

from package_support import LIB, ROOT, quorvex
from quorvex import _library

EXPORTS_LIST = os.path.join(ROOT, "api", "exports.list")


def exported_names():
    with open(EXPORTS_LIST) as listing:
        lines = [line.split("#")[0].strip() for line in listing]
    return [line.split("=")[0].strip() for line in lines if line]


def run_python(code, **environment):
    """Run code in a fresh interpreter with the package on its path; (exit code, output)."""
    env = dict(os.environ)
    env.pop("QUORVEX_LIBRARY", None)
    env.update(environment)
    env["PYTHONPATH"] = os.path.join(ROOT, "python")
    done = subprocess.run([sys.executable, "-c", textwrap.dedent(code)], env=env,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          universal_newlines=True, timeout=120)
    return done.returncode, done.stdout


class DeclarationTest(unittest.TestCase):
    def test_every_export_of_the_library_is_declared(self):
        self.assertEqual(sorted(_library.SIGNATURES), sorted(exported_names()))
        self.assertEqual(LIB.missing, [])

    def test_an_export_the_file_lacks_fails_only_when_called(self):
        saved = dict(_library.SIGNATURES)
        _library.SIGNATURES["hnoSuchExport"] = (None, [])
        try:
            library = quorvex.Library(LIB.path)
        finally:
            _library.SIGNATURES.clear()
            _library.SIGNATURES.update(saved)
        self.assertEqual(library.missing, ["hnoSuchExport"])
        with self.assertRaisesRegex(AttributeError, "hnoSuchExport"):
            library.hnoSuchExport()
        self.assertEqual(library.hgetTupleLength.restype, ctypes.c_int32)


class SearchTest(unittest.TestCase):
    """Each case in a fresh interpreter: the default library is loaded once per process.
    A library beside the package is found by the wheel's test (tests/batch/test_wheel.py)."""

    def test_an_explicit_path_wins_and_failures_name_the_places_tried(self):
        code, out = run_python(f"""
            import os, quorvex
            for path in (None, "/no/such/libquorvex.so"):
                try:
                    quorvex.load(path)
                except OSError as error:
                    print("refused:", error)
                os.environ["QUORVEX_LIBRARY"] = "/also/missing.so"
            print(quorvex.load({LIB.path!r}).path)
            t = quorvex.Tuple([1])
            print(t.library is quorvex.default_library())
            """)
        self.assertEqual(code, 0, out)
        self.assertIn("refused: cannot load the quorvex library; tried /no/such/libquorvex.so",
                      out)
        # Nothing beside the package in the source tree: the bare name on the loader's path.
        self.assertIn(f"refused: cannot load the quorvex library; tried "
                      f"{quorvex.library_file_name()}", out)
        self.assertEqual(out.split()[-2:], [LIB.path, "True"])

    def test_the_environment_variable_names_the_default(self):
        code, out = run_python("import quorvex as q; d = q.default_library\n"
                               "print(d().path, d() is d())", QUORVEX_LIBRARY=LIB.path)
        self.assertEqual((code, out.split()), (0, [LIB.path, "True"]))


if __name__ == "__main__":
    unittest.main()
