"""Test selection by line coverage: a fault is tested only by the test executables that execute
its line. One build with --coverage runs each test alone; gcov's JSON tells which source lines it
executed. The map is cached under the scratch folder, keyed by the content of the tree."""

import gzip
import hashlib
import json
import os
import subprocess

from workers import Worker, tracked_files

FLAGS = "-O0 -g0 -DNDEBUG --coverage"


def tree_key(repo):
    """A digest of every file of the checkout (tracked or new), so any change refreshes the map."""
    digest = hashlib.sha1()
    for path in sorted(tracked_files(repo)):
        with open(os.path.join(repo, path), "rb") as f:
            digest.update(path.encode() + b"\0" + hashlib.sha1(f.read()).digest())
    return digest.hexdigest()[:16]


def selector(repo, scratch, tests):
    """Returns select(fault, tests) -> the tests whose executable runs the fault's line."""
    lines = coverage_map(repo, scratch)
    known = {t["name"] for t in tests}

    def select(fault, all_tests):
        names = lines.get(f"{fault.path}:{fault.line}", [])
        if fault.kind == "early-return" and not names:  # gcov may count the signature instead
            names = lines.get(f"{fault.path}:{fault.line - 1}", [])
        return [t for t in all_tests if t["name"] in names and t["name"] in known]

    return select


def coverage_map(repo, scratch):
    cache = os.path.join(scratch, f"coverage-{tree_key(repo)}.json.gz")
    if os.path.exists(cache):
        with gzip.open(cache, "rt") as f:
            return json.load(f)
    worker = CoverageWorker(repo, scratch)
    worker.prepare()
    try:
        lines = {}
        for test in worker.tests:
            for key in worker.lines_run_by(test):
                lines.setdefault(key, []).append(test["name"])
    finally:
        worker.stop()
    with gzip.open(cache + ".tmp", "wt") as f:
        json.dump(lines, f)
    os.replace(cache + ".tmp", cache)
    return lines


class CoverageWorker(Worker):
    compile_flags = FLAGS

    def __init__(self, repo, scratch):
        root = os.path.join(scratch, "coverage")
        super().__init__(repo, root, root)

    def lines_run_by(self, test):
        for path in self.files_ending(".gcda"):
            os.remove(path)
        self.run_test(test, test["timeout"], "coverage")
        executed = set()
        data = list(self.files_ending(".gcda"))
        for start in range(0, len(data), 50):
            out = subprocess.run(["gcov", "--json-format", "--stdout"] + data[start:start + 50],
                                 cwd=self.build, capture_output=True, text=True).stdout
            for document in out.splitlines():
                executed |= self.executed_lines(json.loads(document))
        return executed

    def executed_lines(self, document):
        found = set()
        tree = os.path.realpath(self.tree) + os.sep
        directory = document.get("current_working_directory", self.build)
        for entry in document.get("files", []):
            source = os.path.realpath(os.path.join(directory, entry["file"]))
            if not source.startswith(tree):
                continue
            relative = source[len(tree):]
            found |= {f"{relative}:{line['line_number']}" for line in entry["lines"]
                      if line["count"] > 0}
        return found

    def files_ending(self, suffix):
        for base, _, names in os.walk(self.build):
            for name in names:
                if name.endswith(suffix):
                    yield os.path.join(base, name)
