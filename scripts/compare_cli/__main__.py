"""Runs two quorvane-cli binaries over the same cases and reports every
difference. Called by scripts/compare-cli.sh, which builds the binaries."""

from __future__ import annotations

import argparse
import concurrent.futures
import fnmatch
import shutil
import sys
import time
from pathlib import Path

from cases import FIXTURE_SOURCES, USAGE, build_cases, fixture_list
from differences import compare_runs
from report import Outcome, matching_allowance, read_allow_list, summarize
from runner import run_binary


def parse_arguments(argv):
    p = argparse.ArgumentParser(prog="compare-cli", description=__doc__)
    p.add_argument("--base-cli", type=Path, help="the baseline binary")
    p.add_argument("--new-cli", type=Path, help="the binary under test")
    p.add_argument("--base-label", default="baseline")
    p.add_argument("--new-label", default="new")
    p.add_argument("--corpus", type=Path, required=True)
    p.add_argument("--samples", type=Path, required=True)
    p.add_argument("--work", type=Path, required=True, help="folder for outputs (emptied first)")
    p.add_argument("--allow", type=Path, help="expected differences: PATTERN REASON per line")
    p.add_argument("--quick", action="store_true", help="two files per corpus folder")
    p.add_argument("--jobs", type=int, default=2, choices=(1, 2))
    p.add_argument("--timeout", type=float, default=120, help="seconds one run may take")
    p.add_argument("--strict-usage", action="store_true",
                   help="compare usage errors in full instead of leniently")
    p.add_argument("--keep", action="store_true", help="keep the outputs of identical cases too")
    p.add_argument("--filter", action="append", default=[], metavar="PATTERN",
                   help="run only cases whose id matches (repeatable)")
    p.add_argument("--list", action="store_true", help="print the case ids and stop")
    p.add_argument("--report", type=Path, help="also write the full report to this file")
    p.add_argument("--max-shown", type=int, default=100, metavar="N",
                   help="differences printed with details (the report file has all)")
    args = p.parse_args(argv)
    if not args.list and not (args.base_cli and args.new_cli):
        p.error("--base-cli and --new-cli are needed unless --list is given")
    return args


def make_fixtures(base_cli: Path, corpus: Path, samples: Path, folder: Path,
                  timeout: float) -> tuple[dict[str, Path], list[str]]:
    """Small files the baseline writes once from the sample and a few corpus
    pictures; both binaries then read them."""
    made, notes = {}, []
    folder.mkdir(parents=True)
    for fixture in fixture_list():
        relative = FIXTURE_SOURCES[fixture.source]
        source = samples / "sample.tif" if relative is None else corpus / relative
        if not source.is_file():
            notes.append(f"fixture {fixture.name} skipped: no {source}")
            continue
        args = [str(source) if a == "IN" else fixture.name if a == "OUT" else a
                for a in fixture.args]
        run = run_binary(base_cli, args, folder / (fixture.name + ".run"), timeout)
        output = run.folder / fixture.name
        if run.status != "0" or not output.is_file():
            notes.append(f"fixture {fixture.name} skipped: baseline exit status {run.status}")
            continue
        made[fixture.name] = output.rename(folder / fixture.name)
        shutil.rmtree(run.folder)
    return made, notes


def planned_fixtures(samples: Path) -> dict[str, Path]:
    return {f.name: samples / f.name for f in fixture_list()}


def run_case(index, case, args):
    base = run_binary(args.base_cli, case.args, args.work / "base" / str(index), args.timeout)
    new = run_binary(args.new_cli, case.args, args.work / "new" / str(index), args.timeout)
    lenient = case.category == USAGE and not args.strict_usage
    differences = compare_runs(base, new, case.json_output, lenient)
    if not differences and not args.keep:
        shutil.rmtree(base.folder)
        shutil.rmtree(new.folder)
    folder = f"{args.work}/{{base,new}}/{index}" if differences else None
    return Outcome(case, differences, None, folder)


def run_all(cases, args, entries) -> list[Outcome]:
    outcomes = [None] * len(cases)
    step = max(1, len(cases) // 20)
    with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
        futures = {pool.submit(run_case, i, c, args): i for i, c in enumerate(cases)}
        for done, future in enumerate(concurrent.futures.as_completed(futures), 1):
            outcome = future.result()
            if outcome.differences:
                outcome.allowed = matching_allowance(outcome.case.id, entries)
            outcomes[futures[future]] = outcome
            if done % step == 0 or done == len(cases):
                print(f"  {done}/{len(cases)} cases", file=sys.stderr, flush=True)
    return outcomes


def main(argv) -> int:
    args = parse_arguments(argv)
    args.work = args.work.resolve()
    if args.list:
        fixtures = planned_fixtures(args.work / "fixtures")
        for case in select(build_cases(args.corpus, args.samples, fixtures, args.quick), args):
            print(case.id)
        return 0
    entries = read_allow_list(args.allow) if args.allow else []
    started = time.monotonic()
    if args.work.exists():
        shutil.rmtree(args.work)
    fixtures, notes = make_fixtures(args.base_cli, args.corpus, args.samples,
                                    args.work / "fixtures", args.timeout)
    cases = select(build_cases(args.corpus, args.samples, fixtures, args.quick), args)
    print(f"running {len(cases)} cases with both binaries ({args.jobs} at a time)", file=sys.stderr)
    outcomes = run_all(cases, args, entries)
    header = [f"base: {args.base_label} ({args.base_cli})",
              f"new:  {args.new_label} ({args.new_cli})",
              f"corpus: {args.corpus}" + ("" if args.corpus.is_dir() else " (missing: skipped)")
              + (" (quick subset)" if args.quick else ""),
              f"fixtures: {len(fixtures)} made by the baseline"] + notes
    footer = f"\ntime: {time.monotonic() - started:.0f} s for fixtures and cases\n"
    text, passed = summarize(outcomes, entries, header, args.strict_usage)
    if args.report:
        args.report.write_text(text + footer, encoding="utf-8")
    shown, _ = summarize(outcomes, entries, header, args.strict_usage, args.max_shown)
    print(shown + footer, end="")
    return 0 if passed else 1


def select(cases, args):
    if not args.filter:
        return cases
    return [c for c in cases if any(fnmatch.fnmatchcase(c.id, p) for p in args.filter)]


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
