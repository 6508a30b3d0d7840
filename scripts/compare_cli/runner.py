"""Runs one binary on one case inside a folder of its own.

Each run starts in an empty folder and names its outputs relative to it, so
messages that mention an output path read the same for both binaries.
"""

from __future__ import annotations

import dataclasses
import os
import shutil
import subprocess
from pathlib import Path


@dataclasses.dataclass
class RunResult:
    status: str  # "0", "1", "2", "signal 11", "timeout", "could not start: ..."
    stdout: bytes
    stderr: bytes
    folder: Path
    files: list[str]  # outputs left in the folder, relative, sorted


def run_binary(binary: Path, args: list[str], folder: Path, timeout: float) -> RunResult:
    if folder.exists():
        shutil.rmtree(folder)
    folder.mkdir(parents=True)
    try:
        completed = subprocess.run([str(binary)] + args, cwd=folder, stdin=subprocess.DEVNULL,
                                   capture_output=True, timeout=timeout)
        code = completed.returncode
        status = str(code) if code >= 0 else f"signal {-code}"
        stdout, stderr = completed.stdout, completed.stderr
    except subprocess.TimeoutExpired as expired:
        status, stdout, stderr = "timeout", expired.stdout or b"", expired.stderr or b""
    except OSError as error:
        status, stdout, stderr = f"could not start: {error}", b"", b""
    return RunResult(status, stdout, stderr, folder, list_outputs(folder))


def list_outputs(folder: Path) -> list[str]:
    found = []
    for root, _, names in os.walk(folder):
        for name in names:
            found.append((Path(root) / name).relative_to(folder).as_posix())
    return sorted(found)
