# A save cannot be turned against its user: in a sticky world-writable
# directory, drawing-render (run by root, then by nobody) does not follow a
# link another user planted there, whatever the kernel's protected_symlinks
# setting; a link of the user's own is followed, and /dev/stdout and a
# process substitution reach their pipes.
source "$(dirname "$0")/lib.sh"

command -v setpriv >/dev/null || { echo "setpriv missing" >&2; exit 77; }
[[ $(id -u) == 0 ]] || { echo "only root can act as other users" >&2; exit 77; }
render=$(cd "$1" && pwd)/drawing-render
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
mkdir -m 1777 "$work/shared"
mkdir -m 777 "$work/nobodys"
printf '5 key 31 down\n6 key 31 up\n' >"$work/S.txt"
chmod 644 "$work/S.txt"
as() {
  local user=$1 group
  shift
  group=$(id -g "$user" 2>/dev/null || echo "$user")
  setpriv --reuid="$user" --regid="$group" --clear-groups "$@"
}
run() {  # USER ARGS...: drawing-render in the shared directory; sets status
  local user=$1; shift
  status=0
  (cd "$work/shared" && as "$user" "$render" --size 64x48 --frames 10 --seed 1 "$@") \
    >"$work/out" 2>"$work/err" || status=$?
}
refused="Permission denied: it is a link another user made in a shared directory"

for user in root nobody; do
  victim=$work/nobodys/victim-$user
  echo secret >"$victim"
  [[ $user == nobody ]] && chown nobody "$victim"
  planter=$([[ $user == root ]] && echo nobody || echo 4321)
  rm -f "$work/shared/"*.bmp
  as "$planter" ln -s "$victim" "$work/shared/bild.bmp"
  as "$planter" ln -s "$victim" "$work/shared/out.bmp"

  run "$user" --input "$work/S.txt" --out "$work/nobodys/o-$user.bmp"
  [[ $status == 1 ]] && grep -qF "cannot save 'bild.bmp': $refused" "$work/err" ||
    e2e_fail "$user: the S key's save followed the planted link: $(cat "$work/err")"
  run "$user" --out out.bmp
  [[ $status == 1 ]] && grep -qF "cannot write 'out.bmp': $refused" "$work/err" ||
    e2e_fail "$user: --out followed the planted link (status $status): $(cat "$work/err")"
  [[ $(cat "$victim") == secret ]] || e2e_fail "$user: the victim was replaced"

  # The user's own link is followed.
  rm "$work/shared/out.bmp"
  as "$user" ln -s "$victim" "$work/shared/out.bmp"
  run "$user" --quiet --out out.bmp
  [[ $status == 0 && $(head -c 2 "$victim") == BM ]] ||
    e2e_fail "$user: its own link was not followed (status $status): $(cat "$work/err")"

  # Pipes behind the kernel's links.
  (cd "$work/shared" && as "$user" "$render" --size 8x8 --frames 1 --seed 1 --quiet \
    --out /dev/stdout | cat >"$work/piped.bmp") || e2e_fail "$user: --out /dev/stdout failed"
  [[ $(head -c 2 "$work/piped.bmp") == BM ]] || e2e_fail "$user: the pipe received no picture"
  (cd "$work/nobodys" && as "$user" bash -c \
    "'$render' --size 8x8 --frames 1 --seed 1 --quiet --out canvas-$user.bmp --screen >(cat >screen-$user.bmp)") ||
    e2e_fail "$user: --screen into a process substitution failed"
  for i in $(seq 1 50); do [[ -s $work/nobodys/screen-$user.bmp ]] && break; sleep 0.1; done
  [[ $(head -c 2 "$work/nobodys/screen-$user.bmp") == BM ]] ||
    e2e_fail "$user: the process substitution received no picture"
done
echo "planted links are refused, own links and pipes work"
