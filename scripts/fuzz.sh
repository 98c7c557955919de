#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset: clang, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for a bounded time, starting from a fresh copy of its seed corpus, after replaying
# the stored reproducers of earlier findings. Prints, per target, the executions and the coverage
# of libFuzzer's final statistics. Exits non-zero when a target crashes, leaks, fails one of its
# checks or times out, and prints the path of the input that did it.
#
#   FUZZ_SECONDS=600 bash scripts/fuzz.sh        # a long run by hand (default: 30 s per target)
#   FUZZ_TARGETS="fuzz_dialog" bash scripts/fuzz.sh
#   FUZZ_FINDINGS=/some/dir                      # where findings go (default: build/fuzz/findings)
#   FUZZ_ARGS="-seed=1"                          # further libFuzzer options for every target
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
seconds=${FUZZ_SECONDS:-30}
[[ $seconds =~ ^[1-9][0-9]*$ ]] || { echo "FUZZ_SECONDS must be a positive number of seconds, not '$seconds'" >&2; exit 2; }
bash scripts/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

read -r -a targets <<<"${FUZZ_TARGETS:-fuzz_strtoint fuzz_colortext fuzz_dialog fuzz_formfile fuzz_designer}"
read -r -a extra <<<"${FUZZ_ARGS:-}"
findings=${FUZZ_FINDINGS:-$top/build/fuzz/findings}
bin=$top/build/fuzz/bin

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
command -v llvm-symbolizer >/dev/null && export ASAN_SYMBOLIZER_PATH=${ASAN_SYMBOLIZER_PATH:-$(command -v llvm-symbolizer)}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The last value of a libFuzzer statistic ("cov: 123") in a log, or "?".
final_stat() {
  local value
  value=$(grep -oE "(^| )$1: +[0-9]+" "$2" | tail -n 1 | grep -oE '[0-9]+$' || true)
  echo "${value:-?}"
}

# Tells where a failing run left its input and shows its report.
report_failure() {
  local target=$1 log=$2 rc=$3 unit
  unit=$(grep -oE 'Test unit written to .*' "$log" | tail -n 1 | sed 's/Test unit written to //' || true)
  # A replayed reproducer is named by the line libFuzzer prints before running it.
  [ -n "$unit" ] || unit=$(grep -oE '^Running: .*' "$log" | tail -n 1 | sed 's/^Running: //' || true)
  echo "FAILED: $target (exit $rc)${unit:+: $unit}"
  [ -n "$unit" ] && echo "  reproduce: $bin/$target $unit"
  # The report from its first line on: the failed check or the sanitizer's error, then the stack.
  local first
  first=$(grep -nE '==== invariant violated|==[0-9]+==ERROR|runtime error:|ERROR: libFuzzer' "$log" | head -n 1 | cut -d: -f1 || true)
  tail -n +"${first:-1}" "$log" | grep -vE '^(#[0-9]+ |INFO:|	NEW_FUNC)' | head -n 80 | sed 's/^/  | /'
}

failed=()
summary=()
for target in "${targets[@]}"; do
  [ -x "$bin/$target" ] || { echo "no such fuzz target: $target" >&2; exit 2; }
  mkdir -p "$work/$target/corpus" "$findings/$target"
  options=(-timeout=60 -rss_limit_mb=4096 -print_final_stats=1 "-artifact_prefix=$findings/$target/")
  dict=fuzz/${target#fuzz_}.dict
  [ -f "$dict" ] && options+=("-dict=$dict")
  # The designer's and the dialog's inputs are sequences of actions, which must be able to grow
  # to hundreds (libFuzzer's length control would keep them at a few dozen bytes).
  case $target in fuzz_designer | fuzz_dialog) options+=(-max_len=4096 -len_control=0) ;; esac

  regressions=(fuzz/regressions/"$target"/*)
  if [ -e "${regressions[0]}" ]; then
    echo "== $target: replaying ${#regressions[@]} stored reproducer(s)"
    log=$work/$target/regressions.log
    if "$bin/$target" "${options[@]}" "${regressions[@]}" >"$log" 2>&1; then :; else
      rc=$?
      report_failure "$target" "$log" "$rc"
      failed+=("$target (stored reproducer)")
      continue
    fi
  fi

  cp fuzz/corpus/"$target"/* "$work/$target/corpus/"
  echo "== $target: fuzzing for ${seconds} s"
  log=$work/$target/fuzz.log
  rc=0
  "$bin/$target" "${options[@]}" "-max_total_time=$seconds" "${extra[@]}" "$work/$target/corpus" >"$log" 2>&1 || rc=$?
  longest=$(find "$work/$target/corpus" -type f -printf '%s\n' | sort -n | tail -n 1)
  line=$(printf '%-16s executions %10s (%s/s)  cov %6s  ft %6s  corpus %s inputs, longest %s bytes  peak RSS %s MB' "$target" \
    "$(final_stat 'stat::number_of_executed_units' "$log")" "$(final_stat 'stat::average_exec_per_sec' "$log")" \
    "$(final_stat cov "$log")" "$(final_stat ft "$log")" "$(find "$work/$target/corpus" -type f | wc -l)" \
    "${longest:-0}" "$(final_stat 'stat::peak_rss_mb' "$log")")
  echo "$line"
  summary+=("$line")
  if [ "$rc" -ne 0 ]; then
    report_failure "$target" "$log" "$rc"
    failed+=("$target")
  fi
done

echo
echo "Fuzzing summary (${seconds} s per target):"
[ ${#summary[@]} -eq 0 ] || printf '  %s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "Findings in: ${failed[*]} (inputs under $findings)"
  exit 1
fi
echo "No findings."
