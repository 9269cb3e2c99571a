"""What quorvex-run and the package keep in the shared temporary folder.

Another local user can make any name there first: a fixed name could be theirs (a FIFO, a
folder open to all), and they would choose what the victim's workers load or which
procedure runs in the victim's engine. Run as root, these tests make the attacker another
user (nobody) who plants those names, for the victim's process id, before the victim starts;
as any user, they check that whatever the runner and the package make there is fresh, theirs
alone (0700) and gone after the run, and that a missing temporary folder is one clear error.

The test process loads no library: it forks the attacker and the stopped victims.
"""
import errno
import json
import os
import pwd
import shutil
import signal
import stat
import sys
import tempfile
import threading
import time
import unittest

RUNNER = os.environ["QUORVEX_RUN"]
PROCEDURES = os.path.join(os.environ["QUORVEX_TEST_DATA"], "procedures")
PACKAGE = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(
    __file__)))), "python")
PLANTED = "planted by another user"


def evil_procedure(name):
    """A snapshot procedure of the victim's interface that only says who wrote it."""
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<hdevelop file_version="1.0" halcon_version="11.0">
<procedure name="{name}">
<interface>
<ic><par name="Folder" base_type="ctrl" dimension="0"/>
<par name="Prefix" base_type="ctrl" dimension="0"/></ic>
<oc><par name="Files" base_type="ctrl" dimension="0"/></oc>
</interface>
<body>
<l>Files := ['{PLANTED}']</l>
</body>
</procedure>
</hdevelop>
""".encode()


def other_user():
    """nobody's ids when this process may become them, else None (same user)."""
    if os.geteuid() != 0:
        return None
    try:
        entry = pwd.getpwnam("nobody")
    except KeyError:
        return None
    return entry.pw_uid, entry.pw_gid


class Attacker:
    """A process of another user (nobody when the test runs as root) running ``plan(say)``;
    ``say`` reports a line to the test. Stopped, with what it said, by ``stop``."""

    def __init__(self, plan):
        read, write = os.pipe()
        pid = os.fork()
        if pid == 0:
            try:
                os.close(read)
                signal.signal(signal.SIGPIPE, signal.SIG_IGN)
                ids = other_user()
                if ids:
                    os.setgroups([])
                    os.setgid(ids[1])
                    os.setuid(ids[0])
                os.umask(0)
                plan(lambda text: os.write(write, (text + "\n").encode()))
            finally:
                os._exit(0)
        os.close(write)
        self.pid, self.read = pid, read

    def stop(self):
        if self.pid is None:
            return []
        os.kill(self.pid, signal.SIGKILL)
        os.waitpid(self.pid, 0)
        self.pid = None
        said = b""
        while chunk := os.read(self.read, 4096):
            said += chunk
        os.close(self.read)
        return said.decode().splitlines()


def serve(path, content, say):
    """Hands ``content`` to every process that opens the FIFO ``path`` to read it."""
    while True:
        try:
            fd = os.open(path, os.O_WRONLY | os.O_NONBLOCK)
        except OSError as error:
            if error.errno in (errno.ENXIO, errno.ENOENT):  # no reader yet, or not there yet
                time.sleep(0.001)
                continue
            raise
        os.set_blocking(fd, True)
        try:
            os.write(fd, content)
            say("served")
        except OSError:
            pass
        os.close(fd)


def wait_for(said_by, line, timeout=10):
    """Waits until the attacker has said ``line`` (they are ready)."""
    deadline = time.monotonic() + timeout
    seen = b""
    while time.monotonic() < deadline and line.encode() not in seen:
        chunk = os.read(said_by.read, 4096)
        if not chunk:
            raise AssertionError(f"the attacker ended before saying {line!r}: {seen!r}")
        seen += chunk
    return seen.decode().splitlines()


class Stopped:
    """A victim process, forked and stopped before it starts ``argv``, so that its process id
    is known beforehand as an attacker would guess it; ``run`` lets it go."""

    def __init__(self, argv, environment, folder):
        self.out = os.path.join(folder, "stdout")
        self.err = os.path.join(folder, "stderr")
        pid = os.fork()
        if pid == 0:
            try:
                for fd, path in ((1, self.out), (2, self.err)):
                    os.dup2(os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600), fd)
                os.kill(os.getpid(), signal.SIGSTOP)
                os.execve(argv[0], argv, environment)
            finally:
                os._exit(127)
        os.waitpid(pid, os.WUNTRACED)
        self.pid = pid

    def run(self, timeout=120):
        os.kill(self.pid, signal.SIGCONT)
        deadline = time.monotonic() + timeout
        while True:
            done, status = os.waitpid(self.pid, os.WNOHANG)
            if done:
                break
            if time.monotonic() > deadline:
                os.kill(self.pid, signal.SIGKILL)
                os.waitpid(self.pid, 0)
                raise AssertionError("the victim hung")
            time.sleep(0.01)
        with open(self.out, encoding="utf-8", errors="replace") as out, \
                open(self.err, encoding="utf-8", errors="replace") as err:
            return os.waitstatus_to_exitcode(status), out.read(), err.read()


def environment(temporary):
    env = dict(os.environ, TMPDIR=temporary)
    env["PYTHONPATH"] = os.pathsep.join(filter(None, [PACKAGE, env.get("PYTHONPATH")]))
    return env


def batch_arguments(files, *extra):
    return [RUNNER, "--procedure", "window_per_file", "--path", PROCEDURES, "--in", "File={}",
            "--in", "Seconds=0.2", "--batch", files, *extra]


SNAPSHOT_SCRIPT = """
import json, sys, quorvex, quorvex.report
quorvex.init()
quorvex.add_procedure_path(sys.argv[1])
with quorvex.Procedure("window_per_file") as show:
    show(File="x", Seconds=0)
print(json.dumps(quorvex.report.snapshots(sys.argv[2], "x_")))
import os, tempfile
entries = []
for name in os.listdir(tempfile.gettempdir()):
    status = os.lstat(os.path.join(tempfile.gettempdir(), name))
    entries.append([name, status.st_mode, status.st_uid])
print(json.dumps(entries))
"""


class Folders(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.mkdtemp()  # the victim's own files
        self.addCleanup(shutil.rmtree, self.scratch, True)
        # A temporary folder as /tmp is: anyone may make names in it.
        self.shared = os.path.join(self.scratch, "shared")
        os.mkdir(self.shared)
        os.chmod(self.scratch, 0o755)
        os.chmod(self.shared, 0o1777)
        self.images = os.path.join(self.scratch, "images")
        os.mkdir(self.images)
        for name in ("a.png", "b.png", "c.png"):
            open(os.path.join(self.images, name), "w").close()

    def victim(self, argv, temporary=None):
        folder = tempfile.mkdtemp(dir=self.scratch)
        return Stopped(argv, environment(temporary or self.shared), folder)

    def attack(self, plan):
        attacker = Attacker(plan)
        self.addCleanup(attacker.stop)
        wait_for(attacker, "planted")
        return attacker


class PlantedNamesTest(Folders):
    def test_workers_take_their_options_from_the_runner_never_from_a_planted_fifo(self):
        victim = self.victim(batch_arguments(os.path.join(self.images, "*.png"), "--jobs", "2"))
        evil_library = b"/nonexistent/attacker/libquorvex32-11.0.so"

        def plan(say):
            path = os.path.join(self.shared, f"quorvex_run_batch_{victim.pid}")
            os.mkfifo(path, 0o666)
            say("planted")
            with open(path, "rb") as fifo:
                items = fifo.read().split(b"\0")
            say("the victim wrote its options")
            items[len(items) - 1 - items[::-1].index(b"--library") + 1] = evil_library
            serve(path, b"\0".join(items), say)

        attacker = self.attack(plan)
        code, out, err = victim.run()
        said = attacker.stop()
        self.assertEqual(said, [], said)
        self.assertNotIn("attacker", err)
        self.assertEqual(code, 0, err)
        self.assertEqual([json.loads(line)["status"] for line in out.splitlines()], ["ok"] * 3)

    def plant_procedure(self, victim_pid, folder, procedure):
        def plan(say):
            planted = os.path.join(self.shared, folder)
            os.mkdir(planted, 0o777)
            own = os.path.join(planted, f"snapshots_{victim_pid}.tmp")
            os.mkfifo(own, 0o666)
            say("planted")
            with open(own, "rb") as fifo:
                fifo.read()
            say("the victim wrote its procedure")
            serve(os.path.join(planted, procedure + ".hdvp"), evil_procedure(procedure), say)

        return self.attack(plan)

    def test_the_runners_snapshot_procedure_never_comes_from_a_planted_folder(self):
        shots = os.path.join(self.scratch, "shots")
        victim = self.victim([RUNNER, "--procedure", "window_per_file", "--path", PROCEDURES,
                              "--in", "File=x", "--in", "Seconds=0", "--snapshots", shots])
        attacker = self.plant_procedure(victim.pid, "quorvex_run_procedures",
                                        "quorvex_snapshots")
        code, out, err = victim.run()
        said = attacker.stop()
        self.assertEqual(said, [], said)
        self.assertNotIn(PLANTED, err)
        self.assertEqual(code, 0, err)
        self.assertEqual(len(os.listdir(shots)), 1)

    def test_the_packages_snapshot_procedure_never_comes_from_a_planted_folder(self):
        shots = os.path.join(self.scratch, "shots")
        victim = self.victim([sys.executable, "-c", SNAPSHOT_SCRIPT, PROCEDURES, shots])
        attacker = self.plant_procedure(victim.pid, "quorvex_report_procedures",
                                        "quorvex_snapshots")
        code, out, err = victim.run()
        said = attacker.stop()
        self.assertEqual(said, [], said)
        self.assertEqual(code, 0, err)
        files = json.loads(out.splitlines()[0])
        self.assertEqual(files, [os.path.join(shots, name) for name in os.listdir(shots)])


class PrivateFolderTest(Folders):
    """Whatever the runs make in the temporary folder (here one of the test's own) is fresh,
    a folder of this user's alone, and gone after the run."""

    def watched(self, victim):
        """Runs the victim, noting every name in its temporary folder as the run goes."""
        seen, stop = {}, threading.Event()

        def watch():
            while not stop.is_set():
                for name in os.listdir(self.temporary):
                    try:
                        status = os.lstat(os.path.join(self.temporary, name))
                    except FileNotFoundError:
                        continue
                    seen.setdefault(name, (status.st_mode, status.st_uid))
                time.sleep(0.002)

        watcher = threading.Thread(target=watch)
        watcher.start()
        try:
            result = victim.run()
        finally:
            stop.set()
            watcher.join()
        self.assertEqual(os.listdir(self.temporary), [], "left behind")
        return result, seen

    def assert_private(self, seen):
        for name, (mode, owner) in seen.items():
            self.assertTrue(stat.S_ISDIR(mode), name)
            self.assertEqual((stat.S_IMODE(mode), owner), (0o700, os.geteuid()), name)

    def setUp(self):
        super().setUp()
        self.temporary = tempfile.mkdtemp(dir=self.scratch)

    def test_threads_make_nothing_there(self):
        victim = self.victim([RUNNER, "--procedure", "add", "--path", PROCEDURES, "--in", "A={}",
                              "--in", "B=''", "--batch", os.path.join(self.images, "*.png"),
                              "--threads", "--jobs", "2"], self.temporary)
        (code, _, err), seen = self.watched(victim)
        self.assertEqual(code, 0, err)
        self.assertEqual(seen, {})

    def test_batches_use_a_fresh_folder_of_their_own(self):
        names = []
        for extra in (["--jobs", "2"], ["--jobs", "1"], ["--jobs", "2", "--fail-fast"]):
            shots = tempfile.mkdtemp(dir=self.scratch)
            victim = self.victim(batch_arguments(os.path.join(self.images, "*.png"),
                                                 "--snapshots", shots, *extra), self.temporary)
            (code, _, err), seen = self.watched(victim)
            self.assertEqual(code, 0, err)
            self.assertEqual(len(os.listdir(shots)), 3)
            self.assertEqual(len(seen), 1, seen)  # one for the run, its workers' too
            self.assert_private(seen)
            names += seen
        self.assertEqual(len(set(names)), len(names), "a name used again")

    def test_the_package_uses_a_fresh_folder_of_its_own(self):
        shots = os.path.join(self.scratch, "shots")
        victim = self.victim([sys.executable, "-c", SNAPSHOT_SCRIPT, PROCEDURES, shots],
                             self.temporary)
        code, out, err = victim.run()
        self.assertEqual(code, 0, err)
        entries = json.loads(out.splitlines()[1])  # while the package was loaded
        self.assertGreater(len(entries), 0)
        self.assert_private({name: (mode, owner) for name, mode, owner in entries})
        self.assertEqual(os.listdir(self.temporary), [], "left behind")


class MissingTemporaryFolderTest(Folders):
    def setUp(self):
        super().setUp()
        self.missing = os.path.join(self.scratch, "missing")

    def test_threads_need_none(self):
        victim = self.victim([RUNNER, "--procedure", "add", "--path", PROCEDURES, "--in", "A={}",
                              "--in", "B=''", "--batch", os.path.join(self.images, "*.png"),
                              "--threads", "--jobs", "2"], self.missing)
        code, out, err = victim.run()
        self.assertEqual(code, 0, err)
        self.assertEqual([json.loads(line)["status"] for line in out.splitlines()], ["ok"] * 3)

    def test_without_one_a_batch_is_one_error_before_any_file_runs(self):
        shots, report = os.path.join(self.scratch, "shots"), os.path.join(self.scratch, "report")
        for extra in (["--jobs", "1"], ["--jobs", "2"], ["--jobs", "1", "--snapshots", shots],
                      ["--jobs", "2", "--report", report]):
            victim = self.victim(batch_arguments(os.path.join(self.images, "*.png"), *extra),
                                 self.missing)
            code, out, err = victim.run()
            self.assertEqual((code, out), (1, ""), (extra, err))
            self.assertEqual(err.splitlines(), [
                f"quorvex-run: cannot make a private folder in the temporary folder "
                f"{self.missing}: No such file or directory (TMPDIR names the temporary "
                f"folder)"])


if __name__ == "__main__":
    unittest.main()
