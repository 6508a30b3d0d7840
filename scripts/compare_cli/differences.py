"""What differs between the baseline's and the new binary's run of one case.

JSON output is compared as values (key order, spacing and number spelling
such as 30 against 30.0 do not count); other text byte for byte. Usage
errors are compared leniently unless asked otherwise: exit status, the first
line of stdout and stderr, and that a usage text appears, because the new
argument parser words its messages its own way.
"""

from __future__ import annotations

import dataclasses
import difflib
import json

from runner import RunResult

MAX_DETAIL_LINES = 12


@dataclasses.dataclass
class Difference:
    aspect: str  # "exit status", "stdout", "stderr", "file out.tif", "usage text"
    detail: list[str]


def compare_runs(base: RunResult, new: RunResult, json_output: bool,
                 lenient_usage: bool) -> list[Difference]:
    found = []
    if base.status != new.status:
        found.append(Difference("exit status", [f"base: {base.status}", f"new:  {new.status}"]))
    if lenient_usage:
        found += compare_first_lines("stdout", base.stdout, new.stdout)
        found += compare_first_lines("stderr", base.stderr, new.stderr)
        if mentions_usage(base) and not mentions_usage(new):
            found.append(Difference("usage text", ["base prints a usage text, new does not"]))
    else:
        found += compare_stdout(base.stdout, new.stdout, json_output)
        found += compare_text("stderr", base.stderr, new.stderr)
    found += compare_files(base, new)
    return found


def mentions_usage(run: RunResult) -> bool:
    return b"usage" in (run.stdout + run.stderr).lower()


def first_line(data: bytes) -> bytes:
    return data.split(b"\n", 1)[0]


def compare_first_lines(aspect: str, base: bytes, new: bytes) -> list[Difference]:
    return compare_text(aspect + " (first line)", first_line(base), first_line(new))


def compare_stdout(base: bytes, new: bytes, json_output: bool) -> list[Difference]:
    if not json_output:
        return compare_text("stdout", base, new)
    base_value, new_value = parse_json(base), parse_json(new)
    if base_value is NOT_JSON or new_value is NOT_JSON:
        # Without two values to compare, the text is all there is.
        found = compare_text("stdout", base, new)
        for d in found:
            d.detail.insert(0, "(compared as text: "
                            + ("base" if base_value is NOT_JSON else "new") + " is not one JSON value)")
        return found
    paths = []
    collect_value_differences(base_value, new_value, "$", paths)
    if not paths:
        return []
    shown = paths[:MAX_DETAIL_LINES]
    if len(paths) > len(shown):
        shown.append(f"... {len(paths) - len(shown)} more")
    return [Difference("stdout (JSON values)", shown)]


NOT_JSON = object()


def reject_duplicate_keys(pairs):
    keys = [k for k, _ in pairs]
    if len(keys) != len(set(keys)):
        raise ValueError("duplicate key")
    return dict(pairs)


def reject_constant(name):
    raise ValueError(f"{name} is not JSON")


def parse_json(data: bytes):
    try:
        return json.loads(data.decode("utf-8"), object_pairs_hook=reject_duplicate_keys,
                          parse_constant=reject_constant)
    except ValueError:  # includes UnicodeDecodeError and JSONDecodeError
        return NOT_JSON


def kind_of(value) -> str:
    if value is None:
        return "null"
    if isinstance(value, bool):
        return "bool"
    if isinstance(value, (int, float)):
        return "number"
    if isinstance(value, str):
        return "string"
    return "array" if isinstance(value, list) else "object"


def collect_value_differences(base, new, path: str, out: list[str]):
    """Appends `path: base != new` for every leaf that differs. Numbers compare
    by value (int 30 equals float 30.0 exactly); true never equals 1."""
    if kind_of(base) != kind_of(new):
        out.append(f"{path}: {short(base)} != {short(new)}")
    elif isinstance(base, dict):
        for key in sorted(set(base) | set(new)):
            sub = f"{path}.{key}"
            if key not in new:
                out.append(f"{sub}: only in base")
            elif key not in base:
                out.append(f"{sub}: only in new")
            else:
                collect_value_differences(base[key], new[key], sub, out)
    elif isinstance(base, list):
        if len(base) != len(new):
            out.append(f"{path}: {len(base)} items != {len(new)} items")
        for i, (b, n) in enumerate(zip(base, new)):
            collect_value_differences(b, n, f"{path}[{i}]", out)
    elif base != new:
        out.append(f"{path}: {short(base)} != {short(new)}")


def short(value) -> str:
    text = json.dumps(value, ensure_ascii=False)
    return text if len(text) <= 80 else text[:77] + "..."


def compare_text(aspect: str, base: bytes, new: bytes) -> list[Difference]:
    if base == new:
        return []
    base_lines = base.decode("utf-8", "backslashreplace").splitlines()
    new_lines = new.decode("utf-8", "backslashreplace").splitlines()
    diff = list(difflib.unified_diff(base_lines, new_lines, "base", "new", n=1, lineterm=""))[2:]
    if not diff:  # only line endings or a final newline differ
        diff = [f"base: {base[-40:]!r}", f"new:  {new[-40:]!r}"]
    if len(diff) > MAX_DETAIL_LINES:
        diff = diff[:MAX_DETAIL_LINES] + [f"... {len(diff) - MAX_DETAIL_LINES} more diff lines"]
    return [Difference(aspect, diff)]


def compare_files(base: RunResult, new: RunResult) -> list[Difference]:
    found = []
    for name in sorted(set(base.files) | set(new.files)):
        if name not in new.files:
            found.append(Difference(f"file {name}", ["written by base only"]))
        elif name not in base.files:
            found.append(Difference(f"file {name}", ["written by new only"]))
        else:
            detail = compare_bytes((base.folder / name).read_bytes(),
                                   (new.folder / name).read_bytes())
            if detail:
                found.append(Difference(f"file {name}", detail))
    return found


def compare_bytes(base: bytes, new: bytes) -> list[str]:
    if base == new:
        return []
    offset = next((i for i, (b, n) in enumerate(zip(base, new)) if b != n), min(len(base), len(new)))
    return [f"base {len(base)} bytes, new {len(new)} bytes; first difference at byte {offset}",
            f"base: {base[offset:offset + 16].hex(' ')}", f"new:  {new[offset:offset + 16].hex(' ')}"]
