#!/usr/bin/env bash
# PLOTCK on a real X server: Xvfb on a free display, the window driven with
# xdotool as a user would (a key at the end of each plot, a left click in the
# cursor loop, a right click to end it). The hardcopy must then label the
# clicked point with code 87 and the end with code 88, and everything the
# cursor did not touch must be byte for byte the hardcopy written without a
# screen. Every wait is bounded; no process is left behind.
# Usage: xwindow_test.sh <plotck> <expected Plot_Ck.PS of the screenless run>
set -u
skip=77
if ! command -v Xvfb >/dev/null; then
  echo "Xvfb is not installed: test skipped"
  exit $skip
fi
plotck=$(realpath "$1")
expected=$(realpath "$2")
command -v xdotool >/dev/null || { echo "FAIL: xdotool is not installed"; exit 1; }

overall=$((SECONDS + 200))  # within the test's time limit, whatever happens
work=$(mktemp -d)
xvfb=""
runner=""
cleanup() {
  for pid in $runner $xvfb; do
    kill "$pid" 2>/dev/null && { timeout 10 tail --pid="$pid" -f /dev/null || kill -9 "$pid" 2>/dev/null; }
  done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  for f in stdout stderr xvfb.log; do [ -s "$work/$f" ] && { echo "--- $f"; tail -20 "$work/$f"; }; done
  exit 1
}

# A free display: the server picks it and writes its number to the pipe.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb cannot start here: test skipped"; exit $skip; }
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb gave no display number"
export DISPLAY=":$(head -1 "$work/display")"

# The X and font libraries keep caches until the process ends: a sanitizer
# build must not count them as leaks of this program.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# Screen A, save, PostScript printer; hardcopy of both plots; one second figure.
printf 'A\nY\nB\nY\n\nY\nN\n' >"$work/answers"
(cd "$work" && exec timeout 120 "$plotck" <answers >stdout 2>stderr) &
runner=$!

# The program itself (the child of timeout).
program=""
for _ in $(seq 100); do
  program=$(awk '{print $1; exit}' /proc/"$runner"/task/*/children 2>/dev/null)
  [ -n "$program" ] && break
  sleep 0.1
done
[ -n "$program" ] || fail "plotck did not start"

# Input/output system call counts of the program: they stand still while it
# waits for a window event.
activity() { awk '/^sysc[rw]:/ {n += $2} END {print n}' /proc/"$program"/io 2>/dev/null; }
# Waits (bounded) until the program sits in poll(2) on the X connection with
# no activity for half a second: it is then inside the library's cursor wait,
# which drops events sent before it started.
waitForWindowWait() {
  local deadline=$((SECONDS + 60)) still=0 last="" now
  ((deadline > overall)) && deadline=$overall
  while ((SECONDS < deadline)); do
    kill -0 "$program" 2>/dev/null || fail "plotck ended early"
    now="$(cut -d' ' -f1 /proc/"$program"/syscall 2>/dev/null) $(activity)"
    if [[ "$now" == 7\ * && "$now" == "$last" ]]; then
      ((++still >= 5)) && return 0
    else
      still=0
    fi
    last=$now
    sleep 0.1
  done
  fail "plotck never waited for the window ($1)"
}
# Waits up to 5 seconds for the program to react to an event. 0: it did.
reacted() {
  local before=$1 deadline=$((SECONDS + 5))
  ((SECONDS < overall)) || fail "out of time"
  while ((SECONDS < deadline)); do
    kill -0 "$program" 2>/dev/null || return 0
    [ "$(activity)" != "$before" ] && return 0
    sleep 0.05
  done
  return 1
}

window=$(timeout 30 xdotool search --sync --onlyvisible --name giza | head -1)
[ -n "$window" ] || fail "no plot window appeared"
eval "$(xdotool getwindowgeometry --shell "$window")"
# The window (-7..7 by -5..5, equal scales) fills the view surface inside the
# library's 20-pixel margin, centred.
scale=$(awk -v w="$WIDTH" -v h="$HEIGHT" 'BEGIN {a = (w - 40) / 14; b = (h - 40) / 10; print (a < b ? a : b)}')
pixelX() { awk -v x="$1" -v s="$scale" -v X="$X" -v w="$WIDTH" 'BEGIN {printf "%d", X + w / 2 + x * s + 0.5}'; }
pixelY() { awk -v y="$1" -v s="$scale" -v Y="$Y" -v h="$HEIGHT" 'BEGIN {printf "%d", Y + h / 2 - y * s + 0.5}'; }
# Sends an event and waits for the program to react; an event that was dropped
# because it came just before the library's wait began is sent again.
press() {  # press <what> <xdotool action...>
  local what=$1 before attempt
  shift
  for attempt in 1 2 3 4 5; do
    before=$(activity)
    timeout 10 xdotool "$@" || fail "xdotool $*"
    reacted "$before" && return 0
    waitForWindowWait "$what, attempt $attempt"
  done
  fail "plotck did not react to $what"
}

timeout 10 xdotool mousemove "$(pixelX 0)" "$(pixelY 0)"
waitForWindowWait "end of the first plot"
press "a key" key space

waitForWindowWait "cursor loop"
timeout 10 xdotool mousemove "$(pixelX 1.5)" "$(pixelY -2.25)"
sleep 0.3
press "the left button" click 1

waitForWindowWait "cursor loop after a click"
timeout 10 xdotool mousemove "$(pixelX -3)" "$(pixelY 2)"
sleep 0.3
press "the right button" click 3

waitForWindowWait "end of the second plot"
press "a key" key space

wait "$runner"
status=$?
runner=""
[ "$status" -eq 0 ] || fail "plotck ended with status $status"
grep -qx "STOP  Plotck complete statement executed" "$work/stderr" || fail "no completion stop"
[ -e "$work/PLOTFL.TMP" ] && fail "PLOTFL.TMP survived"
result="$work/Plot_Ck.PS"
[ -s "$result" ] || fail "no Plot_Ck.PS"

# The cursor labels: code 87 at the clicked point, then 88 where the right
# button was pressed, each 0.25 below the previous one.
labels=$(grep -E '^\(  8[78]' "$result")
echo "$labels"
[ "$(echo "$labels" | wc -l)" -eq 2 ] || fail "expected two cursor labels"
echo "$labels" | awk '
  function near(a, b) { return a - b < 0.05 && b - a < 0.05 }
  { code = substr($0, 2, 4) + 0; x = substr($0, 6, 6) + 0; y = substr($0, 12, 6) + 0 }
  NR == 1 && !(code == 87 && near(x, 1.5) && near(y, -2.25)) { bad = 1 }
  NR == 2 && !(code == 88 && near(x, -3) && near(y, 2)) { bad = 1 }
  END { exit bad }' || fail "cursor labels do not show the clicks"
grep -qx 'n     0 2485 m' "$result" && grep -qx 'n     0 2421 m' "$result" || fail "label lines not 0.25 apart"

# Everything before the first cursor label is what the run without a screen
# wrote, byte for byte.
upToLabels() { sed '/^n     0 2485 m$/q' "$1"; }
cmp <(upToLabels "$result") <(upToLabels "$expected") || fail "hardcopy differs from the screenless run"
ghostscript=$(timeout 60 gs -q -dBATCH -dNOPAUSE -dSAFER -sDEVICE=nullpage "$result" 2>&1) || fail "Ghostscript: $ghostscript"
echo "PLOTCK on the X server: cursor labels and hardcopy as expected"
