#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ (clang's libFuzzer with AddressSanitizer
# and UndefinedBehaviorSanitizer) in build-fuzz/ and runs them.
#
# usage: scripts/fuzz.sh [TARGET|all] [SECONDS]   run one target or all of them, one
#                                                 after another, SECONDS each (default 60)
#        scripts/fuzz.sh list                     the targets
#        scripts/fuzz.sh seeds                    write fuzz/corpus and fuzz/dict afresh
#
# Each run starts from the target's seeds (fuzz/corpus/TARGET) and its
# regression inputs (fuzz/regressions/TARGET), with its dictionary
# (fuzz/dict/TARGET.dict); what it learns grows build-fuzz/corpus/TARGET,
# kept for the next run. An input that crashes, hangs (10 s), leaks or
# breaks one of the target's promises lands in build-fuzz/findings/TARGET/
# and the script exits 1. libFuzzer's own output is in build-fuzz/logs/.
# FUZZ_FLAGS adds libFuzzer flags, e.g. FUZZ_FLAGS="-seed=1" or "-jobs=2 -workers=2".
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
what=${1:-all}
seconds=${2:-60}

targets=$(sed -n 's/^tavo_fuzz_target(\([a-z_0-9]*\) .*/\1/p' "$root/fuzz/CMakeLists.txt")
if [ "$what" = list ]; then
  echo "$targets"
  exit 0
fi
if [ "$what" != all ] && [ "$what" != seeds ] && ! grep -qx "$what" <<<"$targets"; then
  echo "fuzz.sh: no target $what; the targets are:" $targets >&2
  exit 2
fi

"$root/scripts/ensure-deps.sh"
mkdir -p "$build"
if ! { cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS="-O1 -g" \
         -DTAVO_FUZZ=ON -DTAVO_BENCHMARKS=OFF && \
       cmake --build "$build" --target tavo_fuzzers -j "$(nproc)"; } >"$build/build.log" 2>&1; then
  tail -n 60 "$build/build.log"
  echo "Build of the fuzz targets failed; the whole log is in $build/build.log" >&2
  exit 1
fi

if [ "$what" = seeds ]; then
  rm -rf "$root/fuzz/corpus" "$root/fuzz/dict"
  "$build/fuzz/tavo-fuzz-seeds" "$root/fuzz"
  echo "wrote fuzz/corpus and fuzz/dict"
  exit 0
fi

symbolizer=/usr/lib/llvm-14/bin/llvm-symbolizer
[ -x "$symbolizer" ] && export ASAN_SYMBOLIZER_PATH=$symbolizer
export UBSAN_OPTIONS=print_stacktrace=1:${UBSAN_OPTIONS:-}

failed=()
for target in $( [ "$what" = all ] && echo "$targets" || echo "$what" ); do
  work=$build/corpus/$target
  findings=$build/findings/$target
  log=$build/logs/$target.log
  mkdir -p "$work" "$findings" "$build/logs"
  dirs=("$work")
  for d in "$root/fuzz/corpus/$target" "$root/fuzz/regressions/$target"; do
    [ -d "$d" ] && dirs+=("$d")
  done
  dict=()
  [ -f "$root/fuzz/dict/$target.dict" ] && dict=(-dict="$root/fuzz/dict/$target.dict")
  # Short inputs run many times faster; these targets make their long cases
  # (a .tbl past the capacity, images of the whole space) from a short input
  # that asks for one.
  case $target in
    tbl) length=(-max_len=1024) ;;
    diff|quick_viewer) length=(-max_len=8192) ;;
    *) length=() ;;
  esac
  status=0
  # shellcheck disable=SC2086
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "${dict[@]}" "${length[@]}" ${FUZZ_FLAGS:-} "${dirs[@]}" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corp=$(sed -n 's/.* corp: \([0-9/a-zA-Z]*\).*/\1/p' <<<"$last")
  if [ "$status" -eq 0 ]; then
    printf '%-16s ok     %10s runs  cov: %-6s ft: %-6s corpus: %s\n' "$target" "${runs:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}"
  else
    printf '%-16s FOUND  %10s runs  (exit %s)\n' "$target" "${runs:-?}" "$status"
    grep -E 'ERROR|SUMMARY|broken promise|runtime error|Test unit written' "$log" | head -n 8 | sed 's/^/    /'
    echo "    the whole output: $log"
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: found something in: ${failed[*]} (inputs in $build/findings/)" >&2
  echo "Fix it, then keep the input as fuzz/regressions/TARGET/<what it shows>: ctest replays it." >&2
  exit 1
fi
