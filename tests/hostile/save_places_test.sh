#!/usr/bin/env bash
# Saving into places a save must not replace, and interrupted saves, through
# quorvane-cli: save_places_test.sh CLI HOSTILE_FOLDER. Needs root, to act
# as an ordinary user, to make device nodes and to own files for others;
# elsewhere it skips (exit 77).
set -uo pipefail
cli=$1
hostile=$2
if [ "$(id -u)" -ne 0 ] || ! command -v setpriv >/dev/null; then
  echo "SKIP: needs root and setpriv"
  exit 77
fi
work=$(mktemp -d)
chmod 777 "$work"
trap 'rm -rf "$work"' EXIT
failures=0
checks=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { checks=$((checks + 1)); }
sample=$(dirname "$hostile")/../samples/sample.tif

check
# An ordinary user may not replace a read-only file in a folder they may write.
echo old >"$work/locked.png"
chmod 444 "$work/locked.png"
err=$(setpriv --reuid=nobody --regid=nogroup --clear-groups "$cli" convert "$sample" "$work/locked.png" 2>&1)
status=$?
[ $status -eq 1 ] || fail "read-only file: exit $status"
[ "$err" = "Cannot write file \"$work/locked.png\": Permission denied" ] || fail "read-only file: $err"
[ "$(head -c 4 "$work/locked.png")" = old ] || fail "read-only file was replaced"

check
# A device is written into, never replaced by a regular file.
mknod "$work/null.bmp" c 1 3
"$cli" convert "$sample" "$work/null.bmp" || fail "device: exit $?"
[ -c "$work/null.bmp" ] || fail "the device was replaced"

check
# A FIFO nothing reads is refused at once.
mkfifo "$work/pipe.png"
err=$(timeout 10 "$cli" convert "$sample" "$work/pipe.png" 2>&1)
status=$?
[ $status -eq 1 ] || fail "FIFO without reader: exit $status ($err)"

check
# Root saving over another user's file keeps its owner, group and mode.
echo old >"$work/theirs.png"
chown nobody:nogroup "$work/theirs.png"
chmod 640 "$work/theirs.png"
"$cli" convert "$sample" "$work/theirs.png" || fail "owner: exit $?"
[ "$(stat -c '%U:%G %a' "$work/theirs.png")" = "nobody:nogroup 640" ] ||
  fail "owner and mode: $(stat -c '%U:%G %a' "$work/theirs.png")"

# SIGINT or SIGTERM while a 900 MB bitmap is written: the target keeps its
# content, the temporary file is gone, the program ends by the signal. Job
# control keeps SIGINT from being ignored in the background job, as it is
# in a script's background jobs otherwise (and an ignored SIGINT stays so).
set -m
for signal in INT TERM; do
  check
  echo old >"$work/big.bmp"
  "$cli" convert "$hostile/blank30000.tif" "$work/big.bmp" &
  pid=$!
  for _ in $(seq 1000); do
    ls -A "$work" | grep -q '^\.big\.bmp\.quorvane-unfinished-save-' && break
    sleep 0.01
  done
  kill -"$signal" $pid
  wait $pid
  status=$?
  [ $status -eq $((128 + $(kill -l "$signal"))) ] || fail "SIG$signal: exit $status"
  [ "$(head -c 4 "$work/big.bmp")" = old ] || fail "SIG$signal: the target changed"
  if ls -A "$work" | grep -q quorvane-unfinished-save; then fail "SIG$signal: temporary file left"; fi
done

echo "$((checks - failures < 0 ? 0 : checks - failures)) passed, $failures failed"
[ $failures -eq 0 ]
