#!/usr/bin/env bash
# Compares quorvane-cli as built from a baseline revision with the one built
# from the working tree: exit status, stdout (JSON as values), stderr and every
# output file, over the corpus, the samples, fixtures the baseline writes, the
# coordinate commands and usage errors. Exit 0 when nothing differs (or only
# what --allow expects), 1 otherwise, 2 on wrong arguments or a failed build.
set -euo pipefail

usage() {
  cat <<'EOF'
usage: scripts/compare-cli.sh [options]
  --base REV        baseline revision to build (default: main)
  --base-cli PATH   use this baseline binary instead of building one
  --new PATH        use this binary as the new one instead of building the working tree
  --corpus DIR      corpus folder (default: $QUORVANE_CORPUS_DIR or ../shared/corpus)
  --allow FILE      expected differences, one "CASE-ID-PATTERN REASON" per line
  --quick           two files per corpus folder instead of every file
  --jobs N          runs at a time, 1 or 2 (default 2)
  --strict-usage    compare usage errors in full (default: exit status and first lines)
  --filter PATTERN  run only the cases whose id matches (repeatable)
  --list            print the case ids and stop (builds nothing)
  --keep            keep the outputs of identical cases too
  --max-shown N     differences printed with details (default 100; the report has all)
  --timeout SEC     longest one run may take (default 120)
Outputs and the report go to build-compare/run/ and build-compare/report.txt.
EOF
}

repo=$(cd "$(dirname "$0")/.." && pwd)
out="$repo/build-compare"
base_rev=main
base_cli=""
new_cli=""
corpus=${QUORVANE_CORPUS_DIR:-$repo/../shared/corpus}
list=false
helper_args=()
while (($#)); do
  case "$1" in
    --base | --base-cli | --new | --corpus | --allow | --jobs | --filter | --max-shown | --timeout)
      (($# >= 2)) || { echo "$1 needs a value" >&2; usage >&2; exit 2; }
      case "$1" in
        --base) base_rev=$2 ;;
        --base-cli) base_cli=$(realpath "$2") ;;
        --new) new_cli=$(realpath "$2") ;;
        --corpus) corpus=$2 ;;
        --allow) helper_args+=(--allow "$(realpath "$2")") ;;
        --jobs | --filter | --max-shown | --timeout) helper_args+=("$1" "$2") ;;
      esac
      shift 2
      ;;
    --quick | --strict-usage | --keep) helper_args+=("$1"); shift ;;
    --list) list=true; shift ;;
    -h | --help) usage; exit 0 ;;
    *) echo "unknown option: $1" >&2; usage >&2; exit 2 ;;
  esac
done
corpus=$(realpath -m "$corpus")
for binary in "$base_cli" "$new_cli"; do
  [[ -z $binary || -x $binary ]] || { echo "not an executable: $binary" >&2; exit 2; }
done
helper=(python3 -B "$repo/scripts/compare_cli" --corpus "$corpus" --samples "$repo/samples"
  --work "$out/run")

if $list; then
  exec "${helper[@]}" --list "${helper_args[@]}"
fi

# Configures and builds quorvane-cli from SOURCE in BUILD; prints the binary.
build_cli() {
  local source=$1 build=$2
  if ! { cmake -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUORVANE_BUILD_TESTS=OFF &&
    cmake --build "$build" -j2 --target quorvane-cli; } >"$build.log" 2>&1; then
    echo "building $source failed; see $build.log" >&2
    tail -20 "$build.log" >&2
    return 1
  fi
  local binary
  binary=$(find "$build" -type f -name quorvane-cli -perm -u+x | head -1)
  [[ -n $binary ]] || { echo "no quorvane-cli in $build" >&2; return 1; }
  echo "$binary"
}

mkdir -p "$out"
started=$SECONDS
if [[ -z $base_cli ]]; then
  commit=$(git -C "$repo" rev-parse --verify --quiet "$base_rev^{commit}") ||
    { echo "unknown revision: $base_rev" >&2; exit 2; }
  # The baseline's sources are exported, not checked out, so no other
  # worktree or branch is touched; they are reused while the commit is the same.
  if [[ $(cat "$out/base-src.commit" 2>/dev/null) != "$commit" ]]; then
    rm -rf "$out/base-src" "$out/base-build" "$out/base-src.commit"
    mkdir -p "$out/base-src"
    git -C "$repo" archive "$commit" | tar -x -C "$out/base-src"
    echo "$commit" >"$out/base-src.commit"
  fi
  echo "building the baseline ($base_rev, ${commit:0:12})" >&2
  base_cli=$(build_cli "$out/base-src" "$out/base-build") || exit 2
  base_label="$base_rev (${commit:0:12})"
else
  base_label="given binary"
fi
if [[ -z $new_cli ]]; then
  echo "building the working tree" >&2
  new_cli=$(build_cli "$repo" "$out/new") || exit 2
  new_label="working tree ($(git -C "$repo" rev-parse --short=12 HEAD)$(
    git -C "$repo" diff --quiet HEAD 2>/dev/null || echo ", with changes"))"
else
  new_label="given binary"
fi
echo "builds took $((SECONDS - started)) s" >&2

status=0
"${helper[@]}" --base-cli "$base_cli" --new-cli "$new_cli" --base-label "$base_label" \
  --new-label "$new_label" --report "$out/report.txt" "${helper_args[@]}" || status=$?
echo "report: $out/report.txt" >&2
exit "$status"
