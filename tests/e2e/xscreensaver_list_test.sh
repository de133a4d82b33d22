# drawing-xscreensaver add/remove as the real XScreenSaver reads the result:
# on a fresh account (no ~/.xscreensaver: the default list plus Drawing) and
# on one with settings of its own (kept, and given back byte for byte by
# remove), Drawing is the list's last entry and `xscreensaver-command
# -select` of that place starts it. As root the daemon runs as nobody.
source "$(dirname "$0")/xscreensaver_lib.sh"

build=$1
xscreensaver_setup "$build"
cmake --install "$build" --prefix "$home/prefix" >/dev/null
[[ $EUID -eq 0 ]] && chown -R nobody "$home"
list() { run_as_user "$home/prefix/bin/drawing-xscreensaver" "$@" >/dev/null || e2e_fail "drawing-xscreensaver $* failed"; }
settings=$home/.xscreensaver
program="$home/prefix/libexec/xscreensaver/drawing --root"
# The number of entries in the list (each ends in \n).
entries() { sed -n '/^programs:/,/[^\\]$/p' "$settings" | grep -o '\\n' | wc -l; }

# Starts the daemon on the current file and has it run the entry at place $1
# (counted from 1); Drawing must be what runs.
expect_selectable() {
  xscreensaver_start
  run_as_user xscreensaver-command -select "$1" >/dev/null || e2e_fail "xscreensaver does not answer"
  for i in $(seq 1 50); do
    pgrep -f "$program" >/dev/null && break
    sleep 0.2
  done
  pgrep -f "$program" >/dev/null || e2e_fail "entry $1 of the list is not Drawing: $(cat "$home/xscreensaver.log")"
  run_as_user xscreensaver-command -exit >/dev/null
  e2e_wait_exit "$saver_pid" 5
  saver_pid=""
  for i in $(seq 1 30); do
    pgrep -f "$program" >/dev/null || return 0
    sleep 0.1
  done
  e2e_fail "Drawing still runs after xscreensaver ended"
}

# A fresh account.
defaults=$(sed -n '/^\*programs:/,/[^\\]$/p' /etc/X11/app-defaults/XScreenSaver | grep -o '\\n' | wc -l)
list add
((defaults > 10 && $(entries) == defaults + 1)) || e2e_fail "the new list has $(entries) entries, not $defaults + 1"
[[ ! -e $settings.before-drawing ]] || e2e_fail "a backup of a file that did not exist"
cp "$settings" "$home/added"
list add
cmp -s "$settings" "$home/added" || e2e_fail "a second add changed the file"
expect_selectable $((defaults + 1))
list remove
[[ $(entries) == "$defaults" ]] || e2e_fail "remove left $(entries) entries, not $defaults"
! grep -qF "$program" "$settings" || e2e_fail "remove left Drawing in the list"

# An account with settings of its own, Drawing's entry not on the list's last
# line once added, and an entry selected.
cat >"$settings" <<'SETTINGS'
# written by xscreensaver-settings
timeout:	0:10:00
mode:		one
selected:	1
programs:							      \
				maze --root				    \n\
  "Qix"				qix --root				    \n
pointerHysteresis:	10
SETTINGS
[[ $EUID -eq 0 ]] && chown nobody "$settings"
cp "$settings" "$home/own"
list add
cmp -s "$settings.before-drawing" "$home/own" || e2e_fail "the backup is not the file as it was"
[[ $(entries) == 3 ]] || e2e_fail "the list has $(entries) entries after add, not 3"
diff <(grep -v '\\$' "$home/own" | grep -v qix) <(grep -v '\\$' "$settings" | grep -v qix | grep -vF "$program") >/dev/null ||
  e2e_fail "add changed other settings: $(diff "$home/own" "$settings")"
expect_selectable 3
list remove
cmp -s "$settings" "$home/own" || e2e_fail "remove did not give the file back: $(diff "$home/own" "$settings")"
list remove
cmp -s "$settings" "$home/own" || e2e_fail "a second remove changed the file"
echo PASS
