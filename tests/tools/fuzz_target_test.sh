#!/usr/bin/env bash
# tools/fuzz-target against stub targets: a time-out that does not come back on replay is a
# stall (the run goes on and passes), one that comes back on every replay is a finding, and so
# is a crash.
set -uo pipefail
runner="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# A stub fuzzer. In a fuzzing run (no input file given) it behaves as $1 says; replaying an
# input file it either comes back at once or times out (exit 70, libFuzzer's time-out status).
make_stub() {
  local path="$1" fuzzing="$2" replay="$3"
  cat >"$path" <<STUB
#!/usr/bin/env bash
prefix=""
input=""
for a in "\$@"; do
  case "\$a" in
    -artifact_prefix=*) prefix="\${a#-artifact_prefix=}" ;;
    -*) ;;
    *) [ -f "\$a" ] && input="\$a" ;;
  esac
done
if [ -n "\$input" ]; then
  echo "Running: \$input"
  $replay
fi
echo "fuzzing run" >>"$work/\$(basename "\$0").runs"
$fuzzing
STUB
  chmod +x "$path"
}
# Writes an input as libFuzzer does when a unit fails, then exits with the status given.
write_unit='write() { echo x >"${prefix}$1"; echo "artifact_prefix='"'"'${prefix}'"'"'; Test unit written to ${prefix}$1"; exit $2; }'

make_stub "$work/stalls_once" "$write_unit; if [ ! -f $work/stalled ]; then touch $work/stalled; echo 'ALARM: working on the last Unit for 47 seconds'; write timeout-stall 70; fi; echo 'Done 10 runs in 1 second(s)'; exit 0" "exit 0"
make_stub "$work/always_hangs" "$write_unit; echo 'ALARM: working on the last Unit for 11 seconds'; write timeout-hang 70" "echo 'ALARM: working on the last Unit for 11 seconds'; exit 70"
make_stub "$work/crashes" "$write_unit; echo 'ERROR: AddressSanitizer: heap-buffer-overflow'; write crash-boom 1" "exit 1"

export FUZZ_FINDINGS="$work/findings"

out=$("$runner" stalls 5 "$work/stalls_once" 2>&1)
status=$?
[ "$status" -eq 0 ] || fail "a stall that replays at once fails the run (status $status): $out"
grep -q "a time-out that did not come back on replay (.* ms): the machine stalled; not a finding" \
  <<<"$out" || fail "the stall is not told: $out"
[ -f "$work/findings/stalls/stalls/timeout-stall" ] || fail "the stalled input is not kept in stalls/"
[ "$(wc -l <"$work/stalls_once.runs")" -eq 2 ] || fail "the fuzzing did not go on after the stall"

"$runner" hangs 5 "$work/always_hangs" >/dev/null 2>&1
status=$?
[ "$status" -eq 1 ] || fail "an input that always hangs passes the run (status $status)"
[ -f "$work/findings/hangs/timeout-hang" ] || fail "the hanging input is not kept as a finding"
[ ! -e "$work/findings/hangs/stalls/timeout-hang" ] || fail "a real hang was taken for a stall"
grep -q "runs past 10 seconds on every replay" "$work/findings/hangs.log" ||
  fail "the log does not tell the hang"

"$runner" crashes 5 "$work/crashes" >/dev/null 2>&1
status=$?
[ "$status" -eq 1 ] || fail "a crash passes the run (status $status)"
[ -f "$work/findings/crashes/crash-boom" ] || fail "the crashing input is not kept"

"$runner" wrong x "$work/crashes" >/dev/null 2>&1
[ $? -eq 2 ] || fail "seconds that are no number are taken"

[ "$failures" -eq 0 ] && echo "fuzz-target: every case passed"
exit "$failures"
