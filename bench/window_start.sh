#!/bin/sh
# The reader window from its start to the first spread painted, on a text (by default the
# longest of the corpus in $YOMIBON_CORPUS), RUNS times under a virtual X display (xvfb-run)
# or Qt's offscreen platform (PLATFORM=offscreen). Each run prints the window's own phases
# (YOMIBON_TIMING=1) and exec_to_first_paint_ms, measured from just before exec.
# usage: bench/window_start.sh [FILE] [RUNS]   (BIN=path/to/yomibon, default build/default)
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
bin=${BIN:-$here/build/default/bin/yomibon}
file=${1:-}
runs=${2:-5}
if [ -z "$file" ]; then
    corpus=${YOMIBON_CORPUS:?give FILE or set YOMIBON_CORPUS}
    file=$(find "$corpus" -type f -name '*.txt' -printf '%s %p\n' | sort -n | tail -1 | cut -d' ' -f2-)
fi
# Settings and bookmarks of their own, so that the runs start alike and touch nothing else.
home=$(mktemp -d)
log=$home/stderr
trap 'rm -rf "$home"' EXIT
echo "file: $file"
# The window stays open: it is ended a few seconds after its start, long after the report.
# The clock starts once the virtual display has settled (a desktop's display runs before the
# reader starts; a display starting up competes for the processor). SETTLE=seconds, default 1.
run='sleep ${SETTLE:-1}; t0=$(date +%s%N); echo "t0=$t0" >&2
YOMIBON_TIMING_EXEC_NS=$t0 exec "$0" "$1"'
i=0
while [ "$i" -lt "$runs" ]; do
    i=$((i + 1))
    if [ "${PLATFORM:-xvfb}" = offscreen ]; then
        HOME=$home SETTLE=0 YOMIBON_TIMING=1 QT_QPA_PLATFORM=offscreen \
            timeout 4 sh -c "$run" "$bin" "$file" >/dev/null 2>"$log" || true
    else
        HOME=$home SETTLE=${SETTLE:-1} YOMIBON_TIMING=1 \
            xvfb-run -a timeout 5 sh -c "$run" "$bin" "$file" >/dev/null 2>"$log" || true
    fi
    t0=$(sed -n 's/^t0=//p' "$log")
    painted=$(sed -n 's/.*first_paint_wall_ns=\([0-9]*\).*/\1/p' "$log")
    grep '^yomibon timing' "$log" | sed 's/ first_paint_wall_ns=[0-9]*//' || true
    if [ -n "$t0" ] && [ -n "$painted" ]; then
        echo "exec_to_first_paint_ms: $(( (painted - t0) / 100000 ))e-1"
    fi
done
