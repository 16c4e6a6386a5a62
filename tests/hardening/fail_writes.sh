#!/bin/bash
# Fault injection through the file-output writer's seam (PELIXO_FAIL_WRITES):
# a write that fails must leave the file that was there before byte for byte,
# leave no temporary file beside it, and be reported - exit code 1 with the
# message on stderr for `pelixo`, the library's 255 and its message for
# danvora-cli. Each case also runs once without the fault, so that the
# failure is known to come from the seam.
#
# usage: fail_writes.sh CASE SOURCE_DIR PELIXO_CLI DANVORA_CLI
set -u
case_name=$1
src=$2
pelixo=$3
danvora_cli=$4
data="$src/tests/data"

work=$(mktemp -d "${TMPDIR:-/tmp}/pelixo-hardening.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tmp" "$work/out"
export PELIXO_REGISTRY="$work/registry.reg" PELIXO_BOXES=stderr TMPDIR="$work/tmp"
unset PELIXO_FAIL_WRITES
failures=0

fail() { echo "FAIL [$case_name]: $*" >&2; failures=$((failures + 1)); }

# old <file>...: gives each target a known old content and keeps a copy.
old() {
  local f
  for f in "$@"; do
    printf 'old content of %s\r\nkept,1,2,3\r\n' "$(basename "$f")" >"$f"
    cp "$f" "$work/$(basename "$f").before"
  done
}
listing() { (cd "$work/out" && ls -A | LC_ALL=C sort); }

# expect_failure <fault substring> <expected exit> <message pattern> <targets...> -- <command...>
expect_failure() {
  local fault=$1 code=$2 pattern=$3
  shift 3
  local targets=()
  while [ "$1" != -- ]; do targets+=("$1"); shift; done
  shift
  old "${targets[@]}"
  local before after rc
  before=$(listing)
  PELIXO_FAIL_WRITES="$fault" "$@" >"$work/stdout" 2>"$work/stderr"
  rc=$?
  [ "$rc" = "$code" ] || fail "exit code $rc, expected $code with the write of \"$fault\" failing"
  grep -Eq -- "$pattern" "$work/stderr" ||
    fail "no message matching \"$pattern\" on stderr: $(head -c 400 "$work/stderr")"
  local f
  for f in "${targets[@]}"; do
    cmp -s "$f" "$work/$(basename "$f").before" || fail "$(basename "$f") changed after a failed write"
  done
  after=$(listing)
  [ "$before" = "$after" ] || fail "files left behind: $(diff <(echo "$before") <(echo "$after") | sed -n 's/^> //p' | tr '\n' ' ')"
  [ -z "$(ls -A "$work/tmp")" ] || fail "files left in TMPDIR: $(ls -A "$work/tmp" | tr '\n' ' ')"
}

# expect_success <target> <command...>: without the fault the target is written.
expect_success() {
  local target=$1
  shift
  old "$target"
  "$@" >"$work/stdout" 2>"$work/stderr" || fail "the run without a fault failed: $(head -c 400 "$work/stderr")"
  cmp -s "$target" "$work/$(basename "$target").before" && fail "$(basename "$target") was not written without a fault"
}

out="$work/out"
case $case_name in
  send)
    cmd=("$pelixo" send --ini "$data/send/Formats.ini" --format "Comma points" --job "Comma test"
         --out "$out/job.DC" "$data/send/comma.csv")
    expect_failure job.DC 1 "job\\.DC" "$out/job.DC" -- "${cmd[@]}"
    expect_success "$out/job.DC" "${cmd[@]}"
    ;;
  export)
    cmd=("$pelixo" export --ini "$data/receive/Formats.ini" --format "Comma out"
         --tic "$data/receive/job1.tic" --out "$out/points.csv" "$data/receive/job1.dc")
    expect_failure points.csv 1 "points\\.csv" "$out/points.csv" -- "${cmd[@]}"
    expect_success "$out/points.csv" "${cmd[@]}"
    ;;
  dctrans)
    dc="$data/danvora/golden_kp2000.dc"
    ini="$data/danvora/das.ini"
    kx77=("$danvora_cli" dctrans "$dc" "$out/points.kx77" "$out/points.report" 0 b "$ini")
    # The point file fails: neither it nor the report is replaced.
    expect_failure points.kx77 1 "points\\.kx77" "$out/points.kx77" "$out/points.report" -- "${kx77[@]}"
    grep -q "dctrans returned 255" "$work/stdout" || fail "dctrans did not return 255: $(cat "$work/stdout")"
    rm -f "$out/points.report"
    expect_success "$out/points.kx77" "${kx77[@]}"
    ;;
  dctrans_partial)
    # A later file of the same translation fails (the report; the ".info"
    # file of Komma): the files written before it must not be replaced
    # either, or the point file and its report no longer belong together.
    dc="$data/danvora/golden_kp2000.dc"
    ini="$data/danvora/das.ini"
    kx77=("$danvora_cli" dctrans "$dc" "$out/points.kx77" "$out/points.report" 0 b "$ini")
    expect_failure points.report 1 "points\\.report" "$out/points.kx77" "$out/points.report" -- "${kx77[@]}"
    grep -q "dctrans returned 255" "$work/stdout" || fail "dctrans did not return 255: $(cat "$work/stdout")"
    komma=("$danvora_cli" dctrans "$dc" "$out/points.komma" "" 7 b "$ini")
    expect_failure points.info 1 "points\\.info" "$out/points.komma" "$out/points.info" -- "${komma[@]}"
    grep -q "dctrans returned 255" "$work/stdout" || fail "dctrans did not return 255: $(cat "$work/stdout")"
    ;;
  koordles)
    cmd=("$danvora_cli" koordles "$data/frontend/koordles/kx77.txt" "$out/points.csv" 0 1)
    expect_failure points.csv 1 "points\\.csv" "$out/points.csv" -- "${cmd[@]}"
    grep -q "koordles returned 255" "$work/stdout" || fail "koordles did not return 255: $(cat "$work/stdout")"
    # In place, as the front end's "-UP" does: the user's file survives.
    cp "$data/frontend/koordles/kx77.txt" "$out/chosen.txt"
    cp "$out/chosen.txt" "$work/chosen.txt.before"
    PELIXO_FAIL_WRITES=chosen.txt "$danvora_cli" koordles "$out/chosen.txt" "$out/chosen.txt" 0 1 \
      >"$work/stdout" 2>"$work/stderr"
    [ $? = 1 ] || fail "koordles in place: exit code not 1"
    cmp -s "$out/chosen.txt" "$work/chosen.txt.before" || fail "the chosen file changed after a failed write"
    [ "$(ls -A "$out" | grep -c chosen)" = 1 ] || fail "koordles in place left files: $(ls -A "$out")"
    expect_success "$out/points.csv" "${cmd[@]}"
    ;;
  *)
    echo "unknown case $case_name" >&2
    exit 2
    ;;
esac

if [ $failures -ne 0 ]; then exit 1; fi
echo "ok [$case_name]"
