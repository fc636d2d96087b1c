#!/usr/bin/env python3
"""Mutation testing: does the test run catch small, deliberate faults?

For each mutant in the list (scripts/mutants.txt by default) this replaces one
exact snippet of a source file, rebuilds only the test targets it runs, runs
the CTest suites until one fails (that suite "killed" the mutant) or all pass
(the mutant "survived"), and puts the file back. The file is restored on any
exit, Ctrl-C and kill included; a backup left by a hard kill is restored at
the next start.

    scripts/mutate.py [--build build] [--list scripts/mutants.txt]
                      [--out mutants.tsv] [--hints old.tsv] [--only 3,7]
                      [--equivalent] [--all-suites] [--without REGEX] [--check]

Suites are tried in this order: the killer recorded for the same mutant in
--hints (an earlier run's --out), the unit suites named like the mutated
file, the golden replays for game code, then every other suite, fastest
first. --all-suites runs every suite for every mutant instead of stopping at
the first killer. Mutants marked "equivalent" are only run with --equivalent.
--without leaves out the suites it matches: would the rest still kill them?
A suite that fails is run again on its own and counts only if it fails again,
so a test that fails by chance on a busy machine does not pass for a killer.

The list is made of blocks separated by blank lines; '#' starts a comment:

    src/platform/surface.cpp
    - const bool whole_rows = left == 0 && right == surface->width;
    + const bool whole_rows = left == 0 || right == surface->width;
    = equivalent: (only when it is; say why)

The "-" text (after "- ") must occur exactly once in the file; a mutant whose
text is gone is reported as stale (--check lists those without running).
Several "- " or "+ " lines stand for consecutive lines. This is a tool for
people, not part of CI.
"""

import argparse
import os
import re
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BACKUP = ".mutant-backup"
GAME_CODE = ("src/modes/", "src/objects/", "src/services/", "src/shell/")


class Mutant:
    def __init__(self, number, path, before, after, equivalent):
        self.number, self.path = number, path
        self.before, self.after, self.equivalent = before, after, equivalent


def read_list(path):
    mutants, block = [], []

    def flush():
        if not block:
            return
        fields = {"-": None, "+": None, "=": None}
        for line in block[1:]:
            if line[:2] not in ("- ", "+ ", "= ") and line not in ("-", "+"):
                sys.exit(f"{path}: bad line in mutant {len(mutants) + 1}: {line}")
            text = line[2:]
            fields[line[0]] = text if fields[line[0]] is None else fields[line[0]] + "\n" + text
        if fields["-"] is None or fields["+"] is None:
            sys.exit(f"{path}: mutant {len(mutants) + 1} needs '- ' and '+ ' lines")
        reason = fields["="]
        if reason is not None and not reason.startswith("equivalent:"):
            sys.exit(f"{path}: mutant {len(mutants) + 1}: '= ' must say 'equivalent: why'")
        mutants.append(Mutant(len(mutants) + 1, block[0].strip(), fields["-"], fields["+"],
                              reason[len("equivalent:"):].strip() if reason else None))
        block.clear()

    with open(path) as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("#"):
                continue
            if not line.strip():
                flush()
            else:
                block.append(line)
    flush()
    return mutants


def run(cmd, timeout=None, quiet=True):
    """Runs cmd in its own process group; returns (exit status, output)."""
    proc = subprocess.Popen(cmd, cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            start_new_session=True, text=True, errors="replace")
    try:
        out, _ = proc.communicate(timeout=timeout)
        return proc.returncode, out
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        out, _ = proc.communicate()
        return -9, out
    except BaseException:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.wait()
        raise


def list_tests(build):
    status, out = run(["ctest", "--test-dir", build, "-N"])
    if status != 0:
        sys.exit("ctest -N failed:\n" + out)
    return [t.strip() for t in re.findall(r"Test\s+#\d+: (.+)$", out, re.M)]


def test_costs(build):
    """Seconds each test took last time CTest ran it (CTestCostData.txt)."""
    costs = {}
    try:
        with open(os.path.join(build, "Testing/Temporary/CTestCostData.txt")) as f:
            for line in f:
                parts = line.split()
                if len(parts) == 3:
                    costs[parts[0]] = float(parts[2])
    except OSError:
        pass
    return costs


def target_of(test):
    if test.startswith("golden"):
        return "golden_test"
    if test in ("layers_test", "install_test"):
        return None
    return test


def stem_words(path):
    name = os.path.splitext(os.path.basename(path))[0]
    return {w for w in name.split("_") if len(w) > 2}


def suite_order(mutant, tests, costs, hint):
    """Groups of tests to try in turn for this mutant."""
    tests = [t for t in tests if t != "install_test"]
    golden = [t for t in tests if t.startswith("golden")]
    others = sorted((t for t in tests if t not in golden), key=lambda t: costs.get(t, 5.0))
    words = stem_words(mutant.path)
    named = [t for t in others if words & set(t.split("_"))]
    groups = []
    if hint and hint in tests:
        groups.append([hint])
    groups.append(named)
    rest = [t for t in others if t not in named]
    quick = [t for t in rest if costs.get(t, 5.0) < 2.0]
    slow = [t for t in rest if t not in quick]
    if mutant.path.startswith(GAME_CODE):
        groups += [golden, quick, slow]
    else:
        groups += [quick, slow, golden]
    seen, out = set(), []
    for group in groups:
        group = [t for t in group if t not in seen]
        seen.update(group)
        if group:
            out.append(group)
    return out


class Applied:
    """The mutant applied to its file, undone on exit from the block."""

    def __init__(self, mutant):
        self.path = os.path.join(ROOT, mutant.path)
        self.mutant = mutant

    def __enter__(self):
        with open(self.path) as f:
            self.original = f.read()
        if self.original.count(self.mutant.before) != 1:
            return False
        with open(self.path + BACKUP, "w") as f:
            f.write(self.original)
        with open(self.path, "w") as f:
            f.write(self.original.replace(self.mutant.before, self.mutant.after))
        return True

    def __exit__(self, *exc):
        if os.path.exists(self.path + BACKUP):
            with open(self.path, "w") as f:
                f.write(self.original)
            os.remove(self.path + BACKUP)
        return False


def restore_leftovers():
    for top in ("src", "tools"):
        for dirpath, _, files in os.walk(os.path.join(ROOT, top)):
            for name in files:
                if name.endswith(BACKUP):
                    backup = os.path.join(dirpath, name)
                    os.replace(backup, backup[: -len(BACKUP)])
                    print(f"restored {backup[: -len(BACKUP)]} from an interrupted run")


def build(build_dir, targets):
    # One target at a time: several targets in one parallel make can each
    # rebuild a library they share at once, and a test may then link the
    # unmutated copy, which would count a mutant as surviving.
    for t in sorted({t for t in targets if t} | {"zarvox-sim"}):
        status, out = run(["nice", "cmake", "--build", build_dir, "-j2", "--target", t],
                          timeout=900)
        if status != 0:
            return False, out
    return True, ""


def failing_tests(build_dir, group, timeout):
    """Runs the group under CTest (two at a time); returns the tests that failed."""
    regex = "^(" + "|".join(re.escape(t) for t in group) + ")$"
    cmd = ["nice", "ctest", "--test-dir", build_dir, "-j2", "--stop-on-failure",
           "--timeout", str(timeout), "-R", regex]
    status, out = run(cmd, timeout=timeout * max(1, len(group)) + 60)
    if status == 0:
        return []
    failed = re.findall(r"^\s*\d+ - (\S+) \(", out, re.M)
    return failed or ["(ctest: " + (out.strip().splitlines() or ["timeout"])[-1] + ")"]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default="build")
    parser.add_argument("--list", default=os.path.join(ROOT, "scripts/mutants.txt"))
    parser.add_argument("--out", default="mutants.tsv")
    parser.add_argument("--hints")
    parser.add_argument("--only")
    parser.add_argument("--equivalent", action="store_true")
    parser.add_argument("--all-suites", action="store_true")
    parser.add_argument("--timeout", type=int, default=120)
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--without", help="a regex of suites to leave out")
    args = parser.parse_args()
    build_dir = os.path.join(ROOT, args.build) if not os.path.isabs(args.build) else args.build

    # A kill signal unwinds like Ctrl-C, so the mutated file is put back.
    for sig in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, signal.default_int_handler)
    restore_leftovers()

    mutants = read_list(args.list)
    if args.check:
        stale = 0
        for m in mutants:
            try:
                with open(os.path.join(ROOT, m.path)) as f:
                    found = f.read().count(m.before)
            except OSError:
                found = 0
            if found != 1:
                stale += 1
                print(f"{m.number}: {m.path}: the text occurs {found} times: {m.before}")
        print(f"{len(mutants)} mutants, {stale} stale")
        return 1 if stale else 0
    if args.only:
        wanted = {int(n) for n in args.only.split(",")}
        mutants = [m for m in mutants if m.number in wanted]
    hints = {}
    if args.hints:
        with open(args.hints) as f:
            for line in f:
                cols = line.rstrip("\n").split("\t")
                if len(cols) >= 5 and cols[3] == "killed":
                    hints[(os.path.basename(cols[1]), cols[2])] = cols[4].split()[0]

    ok, out = build(build_dir, [])
    if not ok:
        sys.exit("the unmutated tree does not build:\n" + out)
    tests = list_tests(build_dir)
    if args.without:
        tests = [t for t in tests if not re.search(args.without, t)]
    costs = test_costs(build_dir)
    counts = {}
    started = time.time()
    with open(args.out, "w") as results:
        results.write("number\tfile\tsnippet\tresult\tkiller\tseconds\n")
        for m in mutants:
            t0 = time.time()
            result, killer = "survived", ""
            if m.equivalent is not None and not args.equivalent:
                result, killer = "equivalent", m.equivalent
            else:
                with Applied(m) as applied:
                    if not applied:
                        result = "stale"
                    else:
                        snippet = " / ".join(line.strip() for line in m.before.splitlines())
                        order = suite_order(m, tests, costs,
                                            hints.get((os.path.basename(m.path), snippet)))
                        for group in order:
                            ok, out = build(build_dir, [target_of(t) for t in group])
                            if not ok:
                                result, killer = "stillborn", "does not compile"
                                break
                            failed = failing_tests(build_dir, group, args.timeout)
                            if failed and not failed[0].startswith("(ctest"):
                                # A suite that fails by chance on a busy machine kills nothing:
                                # only those that fail again, run alone, count.
                                failed = [t for t in failed
                                          if failing_tests(build_dir, [t], args.timeout)]
                            if failed:
                                result = "killed"
                                killer = killer + " " + " ".join(failed) if killer else " ".join(failed)
                                if not args.all_suites:
                                    break
                        if result == "survived" and m.equivalent is not None:
                            result, killer = "equivalent", m.equivalent
            counts[result] = counts.get(result, 0) + 1
            seconds = time.time() - t0
            snippet = " / ".join(line.strip() for line in m.before.splitlines())
            results.write(f"{m.number}\t{m.path}\t{snippet}\t{result}\t{killer}\t{seconds:.0f}\n")
            results.flush()
            print(f"{m.number:3} {result:10} {m.path}: {m.before.strip().splitlines()[0][:50]}  [{killer}] {seconds:.0f}s",
                  flush=True)
    # Rebuild the restored tree so the build directory matches the sources.
    build(build_dir, [target_of(t) for t in tests])
    real = sum(counts.get(k, 0) for k in ("killed", "survived"))
    print(f"\n{counts.get('killed', 0)}/{real} non-equivalent mutants killed; "
          f"{counts.get('equivalent', 0)} equivalent, {counts.get('stale', 0)} stale, "
          f"{counts.get('stillborn', 0)} not compiling; {time.time() - started:.0f} s")
    return 0 if counts.get("survived", 0) == 0 and counts.get("stale", 0) == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
