#!/bin/sh
# Runs the dialogue program in a tmux terminal, types into it like a user and checks the
# screen, the exit status and that the terminal settings afterwards equal those before.
# Usage: tmux_dialogue_test.sh PROGRAM SCENARIO
#   (edit, error, interrupt, redirect, busy, resize)
set -eu
program=$1
scenario=$2
dir=$(mktemp -d)
tmux="tmux -S $dir/socket -f /dev/null"
trap '$tmux kill-server 2>/dev/null || true; rm -rf "$dir"' EXIT

redirect=""
[ "$scenario" = redirect ] && redirect="> $dir/stdout"
arguments=""
if [ "$scenario" = busy ]; then
    touch "$dir/busy"
    arguments="busy $dir/busy"  # works between prompts while the file exists
fi
size="-x 80 -y 24"
[ "$scenario" = resize ] && size="-x 40 -y 8"
cat > "$dir/session.sh" <<SESSION
trap true INT  # the shell outlives a Ctrl+C to the program, as an interactive one does
printf 'before\n'
stty -g > $dir/settings.before
$program $arguments $redirect
echo \$? > $dir/status
stty -g > $dir/settings.after
sleep 60
SESSION
$tmux new-session -d $size "sh $dir/session.sh"

screen() { $tmux capture-pane -p -t 0; }
wait_for() {
    tries=0
    until screen | grep -q -- "$1"; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ]; then
            echo "timed out waiting for: $1"; screen; exit 1
        fi
        sleep 0.05
    done
}
wait_until() {
    tries=0
    until eval "$1"; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ]; then echo "timed out waiting until: $1"; screen; exit 1; fi
        sleep 0.05
    done
}
wait_status() {
    tries=0
    until [ -s "$dir/status" ] && [ -s "$dir/settings.after" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ]; then echo "program did not end"; screen; exit 1; fi
        sleep 0.05
    done
    status=$(cat "$dir/status")
    if [ "$status" != "$1" ]; then echo "exit status $status, expected $1"; screen; exit 1; fi
    if ! cmp -s "$dir/settings.before" "$dir/settings.after"; then
        echo "terminal settings changed:"; cat "$dir/settings.before" "$dir/settings.after"; exit 1
    fi
}
expect_row() {
    row=$(screen | sed -n "$1p" | sed 's/ *$//')
    if [ "$row" != "$2" ]; then echo "row $1 is '$row', expected '$2'"; screen; exit 1; fi
}

wait_for "inserire xp"
case $scenario in
edit|redirect)
    # 4 erased, 12 typed, Left Left, 9 overwrites the 1, End, Enter.
    $tmux send-keys -t 0 4 BSpace 1 2 Left Left 9 End Enter
    wait_for "ancora? s/n"
    $tmux send-keys -t 0 n Enter
    wait_status 0
    expect_row 1 "before"
    expect_row 2 "inserire xp"
    expect_row 3 "92"
    expect_row 4 "letto 92"
    expect_row 5 "ancora? s/n"
    expect_row 6 "n"
    expect_row 7 "risposta 110"
    if [ "$scenario" = redirect ] && [ -s "$dir/stdout" ]; then
        echo "the redirected output received:"; cat "$dir/stdout"; exit 1
    fi
    ;;
error)
    $tmux send-keys -t 0 a b c Enter
    wait_status 106
    wait_for "Runtime error 106 at 0x"
    ;;
interrupt)
    $tmux send-keys -t 0 1 2 C-c
    wait_status 130
    ;;
busy)
    # Ctrl+C while the program works, not waiting for a key.
    $tmux send-keys -t 0 1 Enter
    wait_for "letto 1"
    $tmux send-keys -t 0 C-c
    wait_status 130
    ;;
resize)
    # 40x8, grown to 60x12 at the second prompt: the screen is drawn again from the console's
    # own model, then scrolls at the new bottom row.
    $tmux send-keys -t 0 1 Enter
    wait_for "ancora? s/n"
    $tmux send-keys -t 0 s Enter
    wait_until '[ "$(screen | grep -c "inserire xp")" -ge 2 ]'
    $tmux resize-window -t 0 -x 60 -y 12
    wait_until '[ "$($tmux display -p -t 0 "#{pane_height}")" = 12 ]'
    $tmux send-keys -t 0 2 Enter
    wait_for "letto 2"
    $tmux send-keys -t 0 n Enter
    wait_status 0
    n=1
    for expected in "1" "letto 1" "ancora? s/n" "s" "risposta 115" "inserire xp" "2" "letto 2" \
                    "ancora? s/n" "n" "risposta 110" ""; do
        expect_row $n "$expected"
        n=$((n + 1))
    done
    ;;
esac
echo "ok: $scenario"
