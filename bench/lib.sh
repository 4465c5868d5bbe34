# Shared helpers for the benchmark scripts in bench/; source it, do not run it.
#
#   bench_setup                         install, build Release once, give the player a display
#   bench_install_peers                 install the peers of bench/packages.txt
#   bench_measure [-n RUNS] [-s SECONDS] LABEL COMMAND...
#                                       run COMMAND (RUNS times; each ended with SIGTERM after
#                                       SECONDS when given) and record its median wall time,
#                                       median CPU time (user + system) and largest peak RSS
#   bench_table                         print the recorded figures
#
# Figures cover the command and everything it waited for. Nothing here asserts a speed.

source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"

# VANTREL_BENCH_PLAYER runs another build of the player (an older one, say) in its place.
BENCH_PLAYER=${VANTREL_BENCH_PLAYER:-$VANTREL_RELEASE_DIR/src/vantrel}
BENCH_MEDIA=$VANTREL_RELEASE_DIR/media
BENCH_ROWS=()
BENCH_TMP=

bench_cleanup() {
  vantrel_stop_xvfb
  [[ -z $BENCH_TMP ]] || rm -rf "$BENCH_TMP"
}

bench_setup() {
  vantrel_install_missing
  vantrel_build_release >&2
  BENCH_TMP=$(mktemp -d)
  trap bench_cleanup EXIT
  # The player's settings go to a scratch folder, not the user's.
  export XDG_CONFIG_HOME=$BENCH_TMP/config
  mkdir -p "$XDG_CONFIG_HOME"
  if [[ -z ${DISPLAY:-} ]]; then
    vantrel_start_xvfb
  fi
}

# The peers some benchmarks compare with (bench/packages.txt), installed on first use.
bench_install_peers() {
  vantrel_install_missing "$VANTREL_ROOT/bench/packages.txt" >&2
}

bench_median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

bench_measure() {
  local runs=1 seconds=
  while [[ $1 == -* ]]; do
    case $1 in
      -n) runs=$2; shift 2 ;;
      -s) seconds=$2; shift 2 ;;
      *) vantrel_log "bench_measure: unknown option $1"; return 2 ;;
    esac
  done
  local label=$1
  shift
  local limit=()
  [[ -z $seconds ]] || limit=(timeout --preserve-status --signal=TERM "$seconds")

  local figures=$BENCH_TMP/figures run status failures=0
  : >"$figures"
  for ((run = 1; run <= runs; ++run)); do
    status=0
    /usr/bin/time -f '%e %U %S %M' -o "$BENCH_TMP/time" -- "${limit[@]}" "$@" >/dev/null 2>&1 ||
      status=$?
    ((status == 0)) || failures=$((failures + 1))
    tail -n 1 "$BENCH_TMP/time" >>"$figures"
  done

  local wall cpu rss
  wall=$(awk '{ print $1 }' "$figures" | bench_median)
  cpu=$(awk '{ print $2 + $3 }' "$figures" | bench_median)
  rss=$(awk '$4 > m { m = $4 } END { printf "%.1f", m / 1024 }' "$figures")
  BENCH_ROWS+=("$label"$'\t'"$wall"$'\t'"$cpu"$'\t'"$rss"$'\t'"$runs"$'\t'"$failures")
}

bench_table() {
  printf '%-36s %9s %9s %14s %5s %7s\n' benchmark "wall s" "cpu s" "peak RSS MiB" runs failed
  local row
  for row in "${BENCH_ROWS[@]}"; do
    IFS=$'\t' read -r label wall cpu rss runs failures <<<"$row"
    printf '%-36s %9.3f %9.3f %14s %5s %7s\n' "$label" "$wall" "$cpu" "$rss" "$runs" "$failures"
  done
}
