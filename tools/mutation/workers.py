"""A worker owns a private copy of the tree, a warm build of it and an X server; it plants one
fault at a time, rebuilds, runs the tests and puts the line back.

The copy is refreshed from the checkout before every run, so a fault left behind by an
interrupted run never survives into the next one, and the checkout itself is never written.
"""

import hashlib
import json
import os
import re
import shutil
import signal
import subprocess
import time

EXCLUDED_TESTS = re.compile(r"^(package_deb|sdk_.*|bridgestress)$")
CONFIGURE = ["-G", "Ninja", "-DCMAKE_BUILD_TYPE=None", "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache",
             "-DCMAKE_LINK_DEPENDS_NO_SHARED=ON", "-DVELDRA_BUILD_BENCH=OFF"]
FAILED = re.compile(r"^FAIL!\s*:\s*(\w+::\w+)(\(.*?\))?")
STARTED = re.compile(r"^(?:PASS|QDEBUG|QWARN|QINFO|INFO|SKIP|XFAIL|XPASS|FATAL|QFATAL|QSYSTEM|"
                     r"QCRITICAL)\s*:\s*(\w+::\w+)\(")


def tracked_files(repo):
    out = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                         cwd=repo, capture_output=True, check=True).stdout.decode()
    return {f for f in out.split("\0") if f and os.path.isfile(os.path.join(repo, f))}


def sync_tree(repo, copy):
    """Copies the checkout's files into copy, touching only files whose content differs so the
    build in the copy stays warm, and removes files the checkout no longer has."""
    wanted = tracked_files(repo)
    for base, _, names in os.walk(copy):
        for name in names:
            path = os.path.join(base, name)
            if os.path.relpath(path, copy) not in wanted:
                os.remove(path)
    for path in wanted:
        source, target = os.path.join(repo, path), os.path.join(copy, path)
        if os.path.isfile(target) and same_content(source, target):
            continue
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(source, target)
        shutil.copymode(source, target)


def same_content(a, b):
    if os.path.getsize(a) != os.path.getsize(b):
        return False
    with open(a, "rb") as fa, open(b, "rb") as fb:
        return fa.read() == fb.read()


def file_digest(path):
    with open(path, "rb") as f:
        return hashlib.sha1(f.read()).hexdigest()


class Worker:
    # -g0 so that identical code gives identical objects; -O1 compiles about as fast as -O0 and
    # folds away changes that make no difference, which then count as equivalent.
    compile_flags = "-O1 -g0 -DNDEBUG"

    def __init__(self, repo, root, log, parallel=1):
        self.repo = repo
        self.root = root
        self.parallel = parallel
        self.tree = os.path.join(self.root, "src")
        self.build = os.path.join(self.root, "build")
        self.log = log
        self.display = None
        self.xvfb = None
        self.stopped = False
        self.test_process = None
        self.objects = {}
        self.tests = []

    # --- set-up -----------------------------------------------------------------------------
    def prepare(self):
        sync_tree(self.repo, self.tree)
        if not os.path.exists(os.path.join(self.build, "build.ninja")):
            self.run(["cmake", "-S", self.tree, "-B", self.build,
                      f"-DCMAKE_CXX_FLAGS={self.compile_flags}"] + CONFIGURE, check=True)
        result = self.run(["ninja", "-C", self.build, f"-j{os.cpu_count() or 1}"], timeout=None)
        if result.returncode != 0:
            raise RuntimeError(f"the unmutated tree does not build in {self.build}")
        self.objects = {path: file_digest(path) for path in self.object_files()}
        self.tests = self.load_tests()
        self.start_display()

    def load_tests(self):
        out = self.run(["ctest", "--show-only=json-v1"], cwd=self.build, check=True).stdout
        tests = []
        for test in json.loads(out)["tests"]:
            if EXCLUDED_TESTS.match(test["name"]) or not test.get("command"):
                continue
            props = {p["name"]: p["value"] for p in test.get("properties", [])}
            environment = dict(e.split("=", 1) for e in props.get("ENVIRONMENT", []))
            tests.append({"name": test["name"], "command": test["command"],
                          "cwd": props.get("WORKING_DIRECTORY", self.build),
                          "env": environment, "timeout": float(props.get("TIMEOUT", 1500))})
        return tests

    def start_display(self):
        if self.xvfb and self.xvfb.poll() is None:
            return
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1920x1080x24", "-nolisten", "tcp"],
            pass_fds=[write], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as pipe:
            self.display = ":" + pipe.readline().strip()

    def stop(self):
        """Ends the worker's X server and a test still running; the copy is restored when the
        next run starts."""
        self.stopped = True
        if self.test_process and self.test_process.poll() is None:
            os.killpg(self.test_process.pid, signal.SIGKILL)
        if self.xvfb and self.xvfb.poll() is None:
            self.xvfb.terminate()
            self.xvfb.wait()

    def object_files(self):
        for base, _, names in os.walk(self.build):
            for name in names:
                if name.endswith(".o"):
                    yield os.path.join(base, name)

    # --- one fault ----------------------------------------------------------------------------
    def try_fault(self, fault, timeout, select_tests):
        """Plants the fault, builds and tests; returns the result record."""
        started = time.time()
        path = os.path.join(self.tree, fault.path)
        with open(path, encoding="utf-8") as f:
            original = f.read()
        lines = original.split("\n")
        if lines[fault.line - 1] != fault.original:
            return {"status": "stale", "killers": [], "seconds": 0}
        lines[fault.line - 1] = fault.mutated
        try:
            with open(path, "w", encoding="utf-8") as f:
                f.write("\n".join(lines))
            build = self.run(["ninja", "-C", self.build, f"-j{self.parallel}"], timeout=1800)
        finally:
            with open(path, "w", encoding="utf-8") as f:
                f.write(original)
        record = {"killers": [], "tests_run": []}
        if build.returncode != 0:
            record["status"] = "no-compile"
        elif not self.changed_objects(started):
            record["status"] = "equivalent"
        else:
            tests = select_tests(fault, self.tests)
            record["tests_run"] = [t["name"] for t in tests]
            for test in tests:
                record["killers"] += self.run_test(test, timeout, fault.id)
            caught = bool(record["killers"])
            record["status"] = "caught" if caught else (
                "log-only-survived" if fault.log_only else "survived")
        record["seconds"] = round(time.time() - started, 1)
        return record

    def changed_objects(self, since):
        """Objects rebuilt since the given time whose content differs from the unmutated build."""
        changed = []
        for path in self.object_files():
            if os.path.getmtime(path) >= since - 1 and file_digest(path) != self.objects.get(path):
                changed.append(path)
        return changed

    def run_test(self, test, timeout, fault_id):
        """Runs one test executable; returns the failed test functions (or the executable, when a
        crash or a hang cannot be pinned on a function)."""
        self.start_display()
        limit = min(timeout, test["timeout"])
        env = dict(os.environ, **test["env"], DISPLAY=self.display,
                   QTEST_FUNCTION_TIMEOUT=str(int(limit * 1000 * 0.9)))
        proc = subprocess.Popen(test["command"], cwd=test["cwd"], env=env, stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT, start_new_session=True)
        self.test_process = proc
        try:
            output, timed_out = proc.communicate(timeout=limit)[0], False
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            output, timed_out = proc.communicate()[0], True
        text = output.decode(errors="replace")
        if proc.returncode == 0 and not timed_out:
            return []
        with open(os.path.join(self.log, f"{fault_id}.{test['name']}.log"), "w") as f:
            f.write(text)
        return blamed_functions(text, test["name"], timed_out)

    def run(self, command, cwd=None, check=False, timeout=600):
        return subprocess.run(command, cwd=cwd, capture_output=True, text=True, check=check,
                              timeout=timeout)


def blamed_functions(output, executable, timed_out):
    failed, running = [], None
    for line in output.splitlines():
        match = FAILED.match(line)
        if match:
            failed.append(match.group(1) + (match.group(2) or ""))
        match = STARTED.match(line)
        if match:
            running = match.group(1)
            if line.startswith("PASS"):
                running = None
    failed = sorted(set(failed))
    if failed:
        return failed
    reason = "timeout" if timed_out else "crash"
    return [f"{running or executable}[{reason}]"]
