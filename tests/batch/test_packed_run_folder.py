"""The packed artefacts' runs (cmake/run_packed_example.cmake, behind java_jar_linux_run and
dotnet_nuget_linux_run) work in a folder of this user's alone under the temporary folder,
and leave nothing there.

Stand-in tools replace Java, Mono and NuGet here: each notes the mode and owner of the folder
it runs in and prints what quorvex-run would, so that only the script's folder is tested.
"""
import os
import shutil
import subprocess
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SCRIPT = os.path.join(ROOT, "cmake", "run_packed_example.cmake")
CMAKE = shutil.which("cmake")

# Runs in the script's app folder, whose parent is the folder the script made.
TOOL = """#!/bin/sh
stat -c '%a %u' "$(dirname "$PWD")" >> "$QUORVEX_TOOL_LOG"
echo 'Count: 9'
"""

KINDS = {
    "jar": ("JAVA", "JNA"),
    "nuget": ("NUGET", "MCS", "MONO"),
}


@unittest.skipIf(CMAKE is None or shutil.which("mktemp") is None, "cmake or mktemp missing")
class PackedRunFolderTest(unittest.TestCase):
    def test_each_kind_runs_in_a_private_folder_removed_at_the_end(self):
        for kind, tools in KINDS.items():
            with self.subTest(kind=kind), tempfile.TemporaryDirectory() as scratch:
                temporary = os.path.join(scratch, "tmp")
                os.mkdir(temporary)
                os.chmod(temporary, 0o1777)  # as /tmp is
                tool = os.path.join(scratch, "tool")
                with open(tool, "w") as file:
                    file.write(TOOL)
                os.chmod(tool, 0o755)
                artefact = os.path.join(scratch, "quorvex-0.1.0." + kind)
                open(artefact, "w").close()
                log = os.path.join(scratch, "log")
                defines = [f"-D{name}={tool}" for name in tools]
                run = subprocess.run(
                    [CMAKE, f"-DKIND={kind}", f"-DARTEFACT={artefact}", f"-DRUNNER={tool}",
                     f"-DSOURCE={ROOT}", *defines, "-P", SCRIPT],
                    env=dict(os.environ, TMPDIR=temporary, QUORVEX_TOOL_LOG=log),
                    capture_output=True, text=True, timeout=120,
                    preexec_fn=lambda: os.umask(0o022))  # the usual one: 0755 unless asked
                self.assertEqual(run.returncode, 0, run.stderr)
                with open(log) as file:
                    seen = file.read().split("\n")[:-1]
                self.assertGreaterEqual(len(seen), 2, seen)  # the example and the runner
                self.assertEqual(set(seen), {f"700 {os.getuid()}"})
                self.assertEqual(os.listdir(temporary), [])

    def test_a_missing_temporary_folder_is_one_clear_error(self):
        with tempfile.TemporaryDirectory() as scratch:
            missing = os.path.join(scratch, "no-such-folder")
            run = subprocess.run(
                [CMAKE, "-DKIND=jar", "-DARTEFACT=x", "-DRUNNER=x", f"-DSOURCE={ROOT}",
                 "-P", SCRIPT], env=dict(os.environ, TMPDIR=missing), capture_output=True,
                text=True, timeout=120)
            self.assertNotEqual(run.returncode, 0)
            self.assertIn("cannot make a private folder under the temporary folder", run.stderr)
            self.assertFalse(os.path.exists(missing))


if __name__ == "__main__":
    unittest.main()
