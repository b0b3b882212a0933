"""Test selection by line coverage: a fault is tested only by the test executables that execute
its line. One build with --coverage runs each test alone; gcov's JSON tells which source lines it
executed. The map is cached under the scratch folder, keyed by the content of what builds and
runs the tests (src/, tests/, cmake/ and the top-level CMakeLists.txt)."""

import gzip
import hashlib
import json
import os
import subprocess

from workers import Worker, tracked_files

FLAGS = "-O0 -g0 -DNDEBUG --coverage"


KEYED = ("src/", "tests/", "cmake/", "CMakeLists.txt")


def tree_key(repo):
    """A digest of the files the map depends on (tracked or new, committed or not)."""
    digest = hashlib.sha1()
    for path in sorted(p for p in tracked_files(repo) if p.startswith(KEYED)):
        with open(os.path.join(repo, path), "rb") as f:
            digest.update(path.encode() + b"\0" + hashlib.sha1(f.read()).digest())
    return digest.hexdigest()[:16]


def selector(repo, scratch, tests):
    """Returns select(fault, tests) -> the tests whose executable runs the fault's line."""
    executed, instrumented = coverage_map(repo, scratch)

    def tests_at(path, line):
        return set(executed.get(f"{path}:{line}", []))

    def select(fault, all_tests):
        if f"{fault.path}:{fault.line}" in instrumented:
            names = tests_at(fault.path, fault.line)
        else:
            # gcov counts a statement spread over lines, or a function's entry, on one of its
            # lines: take the instrumented lines nearby, or every test when there are none.
            nearby = [n for n in range(fault.line - 4, fault.line + 4)
                      if f"{fault.path}:{n}" in instrumented]
            if not nearby:
                return all_tests
            names = set().union(*(tests_at(fault.path, n) for n in nearby))
        return [t for t in all_tests if t["name"] in names]

    return select


def coverage_map(repo, scratch):
    """{file:line: [tests that execute it]} and the set of lines gcov counts at all."""
    cache = os.path.join(scratch, f"coverage-{tree_key(repo)}.json.gz")
    if not os.path.exists(cache):
        worker = CoverageWorker(repo, scratch)
        worker.prepare()
        executed, instrumented = {}, set()
        try:
            for test in worker.tests:
                run, seen = worker.lines_run_by(test)
                instrumented |= seen
                for key in run:
                    executed.setdefault(key, []).append(test["name"])
        finally:
            worker.stop()
        with gzip.open(cache + ".tmp", "wt") as f:
            json.dump({"executed": executed, "instrumented": sorted(instrumented)}, f)
        os.replace(cache + ".tmp", cache)
    with gzip.open(cache, "rt") as f:
        data = json.load(f)
    return data["executed"], set(data["instrumented"])


class CoverageWorker(Worker):
    compile_flags = FLAGS

    def __init__(self, repo, scratch):
        root = os.path.join(scratch, "coverage")
        super().__init__(repo, root, root)

    def lines_run_by(self, test):
        for path in self.files_ending(".gcda"):
            os.remove(path)
        self.run_test(test, test["timeout"], "coverage")
        executed, instrumented = set(), set()
        data = list(self.files_ending(".gcda"))
        for start in range(0, len(data), 50):
            out = subprocess.run(["gcov", "--json-format", "--stdout"] + data[start:start + 50],
                                 cwd=self.build, capture_output=True, text=True).stdout
            for document in out.splitlines():
                self.add_lines(json.loads(document), executed, instrumented)
        return executed, instrumented

    def add_lines(self, document, executed, instrumented):
        tree = os.path.realpath(self.tree) + os.sep
        directory = document.get("current_working_directory", self.build)
        for entry in document.get("files", []):
            source = os.path.realpath(os.path.join(directory, entry["file"]))
            if not source.startswith(tree + "src" + os.sep):
                continue
            relative = source[len(tree):]
            for line in entry["lines"]:
                key = f"{relative}:{line['line_number']}"
                instrumented.add(key)
                if line["count"] > 0:
                    executed.add(key)

    def files_ending(self, suffix):
        for base, _, names in os.walk(self.build):
            for name in names:
                if name.endswith(suffix):
                    yield os.path.join(base, name)
