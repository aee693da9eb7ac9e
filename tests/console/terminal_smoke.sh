#!/usr/bin/env bash
# Starts the program on a real terminal (tmux), types keys and reads the
# screen back: the UTF-8 glyphs, key decoding, the small-terminal message,
# and the terminal given back on exit.
set -u
kestrel=$1
tool=$2
command -v tmux >/dev/null || { echo "tmux missing"; exit 77; }
root=$(mktemp -d)
"$tool" demo "$root" || exit 1
cd "$root" || exit 1
sock="kestrel_smoke_$$"
t() { tmux -L "$sock" "$@"; }
cleanup() { t kill-server 2>/dev/null; rm -rf "$root"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- screen ---"; t capture-pane -p -t s 2>/dev/null; exit 1; }

# Waits until the pane shows a text (or the timeout passes).
wait_for() {
    for _ in $(seq 1 200); do
        t capture-pane -p -t s 2>/dev/null | grep -qF -- "$1" && return 0
        sleep 0.1
    done
    return 1
}

export LANG=C.UTF-8 LC_ALL=C.UTF-8
t -u -f /dev/null new-session -d -s s -x 80 -y 25 \
    "TERM=tmux-256color $kestrel DEMO --now '2026-12-08 10:15'; echo EXITED:\$?; stty -a | grep -q ' icanon' && echo COOKED; sleep 30"
t set-option -t s remain-on-exit on >/dev/null

wait_for "System Kadrowo-Płacowy KESTREL" || fail "title not shown"
wait_for "2026-12-08  10:15" || fail "date and clock not shown"
wait_for "F I R M A   D E M O" || fail "the demo company's short name"
wait_for "B. Moduł PPK" || fail "main menu"
screen=$(t capture-pane -p -t s)
echo "$screen" | grep -qF "╔════" || fail "frame not drawn in box characters"
echo "$screen" | grep -qF "<Alt+U>-Użytkownik" || fail "legend with Polish letters"

# F1 switches colour and monochrome and redraws; the screen stays whole.
t send-keys -t s F1
sleep 0.3
t capture-pane -p -t s | grep -qF "System Kadrowo-Płacowy KESTREL" || fail "redraw after F1"

# Keys with Esc prefixes are not taken for Esc: the program must still run.
t send-keys -t s Up Down M-u F12 C-Right PageDown
sleep 0.3
t capture-pane -p -t s | grep -qF "EXITED" && fail "a key sequence was read as Esc"
# PgDn chose entry 2 (the register); Esc goes back to the main menu.
wait_for 'Słowniki "urzędowe"' || fail "PgDn did not choose the register menu"
t send-keys -t s Escape
wait_for "B. Moduł PPK" || fail "Esc did not leave the register menu"

# A terminal smaller than 80x25 gets a message instead of a broken screen.
t resize-window -t s -x 60 -y 20
wait_for "Okno terminala jest za małe" || fail "no message on a small terminal"
t resize-window -t s -x 80 -y 25
wait_for "System Kadrowo-Płacowy KESTREL" || fail "screen not redrawn after enlarging"

# Esc alone is read as Esc: the main menu asks whether to end; "t" ends it.
t send-keys -t s Escape
wait_for "Koniec programu? [t,n]" || fail "Esc did not reach the menu"
t send-keys -t s t
wait_for "EXITED:0" || fail "program did not end with status 0"
wait_for "COOKED" || fail "terminal not restored after exit"

# A fatal signal gives the terminal back too. The second start gets a
# server of its own: a new session on the socket of a server that is
# shutting down after its last session can fail with "server exited
# unexpectedly".
t kill-server 2>/dev/null
sock="${sock}_2"
t -u -f /dev/null new-session -d -s s -x 80 -y 25 \
    "TERM=tmux-256color $kestrel DEMO --now '1999-01-01 00:00'; echo EXITED:\$?; stty -a | grep -q ' icanon' && echo COOKED; sleep 30"
wait_for "1999-01-01" || fail "second start"
pkill -SEGV -f -- "--now 1999-01-01 00:00"
wait_for "EXITED:139" || fail "program did not die of the signal"
wait_for "COOKED" || fail "terminal not restored after a fatal signal"
echo "terminal smoke test passed"
