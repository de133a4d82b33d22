# scripts/bench.sh runs every benchmark program the build made, and only
# those (the directory also holds CMake's files).
source "$(dirname "$0")/lib.sh"
build=$(cd "$1" && pwd)
compgen -G "$build/bench/*_bench" >/dev/null || { echo "no benchmarks built" >&2; exit 77; }
output=$(DRAWING_BENCH_DIR="$build/bench" bash "$(dirname "$0")/../../scripts/bench.sh" \
  --benchmark_list_tests=true 2>&1) || e2e_fail "bench.sh failed: $output"
for bench in "$build"/bench/*_bench; do
  grep -qx "== $(basename "$bench")" <<<"$output" || e2e_fail "$(basename "$bench") did not run"
done
echo PASS
