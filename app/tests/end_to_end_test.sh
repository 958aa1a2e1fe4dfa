#!/usr/bin/env bash
# The real program under Xvfb and openbox, driven from the keyboard with xdotool: window
# title and size, a conversion, an error box titled from the binary's name, Alt+F4 and the
# exit code; and the exit without a display.
# Usage: end_to_end_test.sh PATH_TO_POUND_CONVERTER
set -u
program=$1

if [[ ${1:-} != --inside ]]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cp "$program" "$work/Converter.Setup.EXE"

    out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" 2>&1)
    code=$?
    if [[ $code != 1 || $out != *"cannot start"* || $(printf '%s\n' "$out" | grep -c 'cannot start') != 1 ]]; then
        echo "FAIL without a display: exit $code, output: $out"
        exit 1
    fi
    echo "ok   without a display: exit 1, '$(printf '%s\n' "$out" | grep 'cannot start')'"
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside "$work/Converter.Setup.EXE"
fi

program=$2
failures=0
check() {  # check NAME CONDITION...
    local name=$1
    shift
    if "$@"; then echo "ok   $name"; else echo "FAIL $name"; failures=$((failures + 1)); fi
}
wait_for_window() {  # wait_for_window NAME_REGEX: prints the window id
    for _ in $(seq 50); do
        local id
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [[ -n $id ]] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

openbox >/dev/null 2>&1 &
wm=$!
sleep 0.5
export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb
"$program" 2>/dev/null &
pid=$!

main=$(wait_for_window '^ Case операторы $')
check "window titled ' Case операторы '" test -n "$main"
size=$(xwininfo -id "$main" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
check "client size $size is the scaled 317x256" bash -c "[[ $size =~ ^[0-9]+x[0-9]+$ ]] && (( ${size%x*} * 256 / ${size#*x} >= 313 && ${size%x*} * 256 / ${size#*x} <= 321 ))"
# Centred on the screen by its outer size: client position less the frame extents.
sleep 0.5  # the frame arrives after the first mapping
read -r w h < <(echo "${size/x/ }")
read -r l r t b < <(xprop -id "$main" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
read -r x y < <(xwininfo -id "$main" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}')
want_left=$(( (1024 - (w + l + r)) / 2 )) want_top=$(( (768 - (h + t + b)) / 2 ))
check "centred by outer size: frame at $((x - l)),$((y - t)), want $want_left,$want_top" \
    test "$((x - l))" -eq "$want_left" -a "$((y - t))" -eq "$want_top"
check "WM_CLASS carries the title" bash -c "xprop -id $main WM_CLASS | grep -q '\"Converter\"'"

# A conversion: type into the focused entry, Tab to the button, Enter.
xdotool type --delay 20 "10"
xdotool key Tab Return
sleep 0.5
check "a good entry shows no error box" bash -c "! xdotool search --onlyvisible --name '^Converter$' >/dev/null 2>&1"

# A bad entry: back to the entry (Shift+Tab selects its text), type over it, convert.
xdotool key shift+Tab
xdotool type --delay 20 "abc"
xdotool key Tab Return
box=$(wait_for_window '^Converter$')
check "a bad entry opens a box titled 'Converter'" test -n "$box"
xdotool key Return
sleep 0.5
check "OK closes the box" bash -c "! xdotool search --onlyvisible --name '^Converter$' >/dev/null 2>&1"

xdotool windowactivate --sync "$main" 2>/dev/null
xdotool key alt+F4
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid"
code=$?
check "Alt+F4 ends the program with exit code 0 (got $code)" test "$code" = 0

kill "$wm" 2>/dev/null
((failures == 0)) || { echo "$failures failed"; exit 1; }
echo "all end-to-end checks passed"
