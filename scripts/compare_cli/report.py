"""The allow list of expected differences and the summary printed at the end."""

from __future__ import annotations

import dataclasses
import fnmatch
from pathlib import Path

from cases import USAGE, Case
from differences import Difference


@dataclasses.dataclass
class AllowEntry:
    pattern: str
    reason: str
    used: int = 0


def read_allow_list(path: Path) -> list[AllowEntry]:
    """One expected difference per line: a case id pattern (shell-style, `*`
    also crosses `/`), white space, the reason. `#` starts a comment line."""
    entries = []
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        pattern, _, reason = line.replace("\t", " ").partition(" ")
        reason = reason.strip()
        if not reason:
            raise ValueError(f"{path}:{number}: a pattern needs a reason after it")
        entries.append(AllowEntry(pattern, reason))
    return entries


def matching_allowance(case_id: str, entries: list[AllowEntry]) -> AllowEntry | None:
    for entry in entries:
        if fnmatch.fnmatchcase(case_id, entry.pattern):
            entry.used += 1
            return entry
    return None


@dataclasses.dataclass
class Outcome:
    case: Case
    differences: list[Difference]
    allowed: AllowEntry | None
    folder: str | None  # where the outputs of a differing case were kept


@dataclasses.dataclass
class Tally:
    run: int = 0
    identical: int = 0
    differing: int = 0
    expected: int = 0


def summarize(outcomes: list[Outcome], entries: list[AllowEntry], header: list[str],
              strict_usage: bool, max_detailed: int | None = None) -> tuple[str, bool]:
    """The report text, and whether every difference was expected. Past
    `max_detailed` differences only the case ids and aspects are listed."""
    lines = list(header)
    total, groups = Tally(), {}
    for o in outcomes:
        category = o.case.category if not (strict_usage and o.case.category == USAGE) else "usage"
        for tally in (total, groups.setdefault((o.case.command, category), Tally())):
            tally.run += 1
            if not o.differences:
                tally.identical += 1
            elif o.allowed:
                tally.expected += 1
            else:
                tally.differing += 1
    lines.append(f"cases: {total.run} run, {total.identical} identical, {total.differing} differing, "
                 f"{total.expected} expected differences")
    if not strict_usage:
        lines.append(f"category \"{USAGE}\": usage errors compare exit status, the first line of "
                     "stdout and stderr and that a usage text appears (--strict-usage: everything)")
    lines.append("")
    lines.append(f"{'command':<16} {'category':<17} {'run':>6} {'identical':>10} {'differing':>10} "
                 f"{'expected':>9}")
    for (command, category), t in sorted(groups.items()):
        lines.append(f"{command:<16} {category:<17} {t.run:>6} {t.identical:>10} {t.differing:>10} "
                     f"{t.expected:>9}")
    unexpected = [o for o in outcomes if o.differences and not o.allowed]
    expected = [o for o in outcomes if o.differences and o.allowed]
    if unexpected:
        lines += ["", f"differences ({len(unexpected)}):"]
        ordered = sorted(unexpected, key=lambda o: (o.case.command, o.case.category, o.case.id))
        detailed = ordered if max_detailed is None else ordered[:max_detailed]
        for o in detailed:
            lines += describe(o)
        if len(ordered) > len(detailed):
            lines.append(f"... {len(ordered) - len(detailed)} more differences, details in the report"
                         " file:")
            lines += [f"- {o.case.id}  [{', '.join(d.aspect for d in o.differences)}]"
                      for o in ordered[len(detailed):]]
    if expected:
        lines += ["", f"expected differences ({len(expected)}):"]
        for o in sorted(expected, key=lambda o: o.case.id):
            lines.append(f"  {o.case.id}  [{', '.join(d.aspect for d in o.differences)}]"
                         f"  -- {o.allowed.reason}")
    unused = [e.pattern for e in entries if e.used == 0]
    if unused:
        lines += ["", "allow-list patterns that matched no difference: " + ", ".join(unused)]
    return "\n".join(lines) + "\n", not unexpected


def describe(o: Outcome) -> list[str]:
    lines = [f"- {o.case.id}  ({o.case.command}, {o.case.category})",
             "    quorvane-cli " + " ".join(quote(a) for a in o.case.args)]
    if o.folder:
        lines.append(f"    outputs kept in {o.folder}")
    for d in o.differences:
        lines.append(f"    {d.aspect}:")
        lines += ["      " + line for line in d.detail]
    return lines


def quote(arg: str) -> str:
    return arg if arg and all(c.isalnum() or c in "-_./,=:+^" for c in arg) else repr(arg)
