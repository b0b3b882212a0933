"""The kill matrix, the scores per area and per test function, written from the results."""

import collections
import json
import os

COUNTED = {"caught", "survived", "log-only-survived"}
TSV_FIELDS = ["id", "where", "kind", "status", "original", "mutated", "killers"]


def area(path):
    """src/core/<folder>, src/plugins/<plugin>/<folder>, else the first folder below src/."""
    parts = path.split("/")[:-1]
    depth = {"core": 3, "plugins": 4}.get(parts[1] if len(parts) > 1 else "", 2)
    return "/".join(parts[:depth])


def score_line(rows):
    counted = [r for r in rows if r["status"] in COUNTED]
    caught = sum(r["status"] == "caught" for r in counted)
    return caught, len(counted)


def percent(caught, total):
    return f"{100.0 * caught / total:.1f}%" if total else "-"


def by_test_function(rows):
    """For each test function: the faults it catches and how many of them only it catches."""
    killers = collections.defaultdict(list)
    for row in rows:
        for killer in row["killers"]:
            killers[strip_row(killer)].append(row["id"])
    caught_by = collections.Counter()
    for row in rows:
        for fn in {strip_row(k) for k in row["killers"]}:
            caught_by[row["id"]] += 1
    return {fn: {"caught": sorted(set(ids)), "only_it": sum(caught_by[i] == 1 for i in set(ids))}
            for fn, ids in sorted(killers.items())}


def strip_row(killer):
    """tst_x::fn(row) -> tst_x::fn: the data row stays in the matrix, the list is per function."""
    return killer.split("(", 1)[0]


def write(out, rows):
    rows = sorted(rows, key=lambda r: (r["path"], r["line"], r["column"], r["kind"]))
    with open(os.path.join(out, "matrix.json"), "w") as f:
        json.dump(rows, f, indent=1)
    with open(os.path.join(out, "matrix.tsv"), "w") as f:
        f.write("\t".join(TSV_FIELDS) + "\n")
        for r in rows:
            values = [r["id"], f"{r['path']}:{r['line']}", r["kind"], r["status"],
                      r["original"].strip(), r["mutated"].strip(), " ".join(r["killers"])]
            f.write("\t".join(v.replace("\t", " ") for v in values) + "\n")
    functions = by_test_function(rows)
    with open(os.path.join(out, "tests.json"), "w") as f:
        json.dump(functions, f, indent=1)
    lines = summary(rows)
    per_function = ["", "test function\tcatches\tonly it catches"]
    per_function += [f"{fn}\t{len(v['caught'])}\t{v['only_it']}" for fn, v in functions.items()]
    with open(os.path.join(out, "summary.txt"), "w") as f:
        f.write("\n".join(lines[:-3] + per_function + lines[-3:]) + "\n")
    return lines


def summary(rows):
    """Counts per status, the score per area and the total score (last line)."""
    statuses = collections.Counter(r["status"] for r in rows)
    lines = ["faults: " + ", ".join(f"{n} {s}" for s, n in sorted(statuses.items())), "",
             "area\tcaught/counted\tscore"]
    areas = collections.defaultdict(list)
    for r in rows:
        areas[area(r["path"])].append(r)
    for name, group in sorted(areas.items()):
        caught, total = score_line(group)
        lines.append(f"{name}\t{caught}/{total}\t{percent(caught, total)}")
    caught, total = score_line(rows)
    without_log = score_line([r for r in rows if r["kind"] != "remove-log"])
    lines += ["", f"score without log-only faults: {without_log[0]}/{without_log[1]}",
              f"score: {caught}/{total}"]
    return lines
