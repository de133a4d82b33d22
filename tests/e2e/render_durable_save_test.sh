# A save reaches the disk before its name does: drawing-render's temporary
# file is fsynced before it is renamed over the target, and the directory
# after the rename (seen through strace).
source "$(dirname "$0")/lib.sh"

command -v strace >/dev/null || { echo "strace missing" >&2; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
echo old > out.bmp
if ! strace -f -qq -e trace=openat,fsync,rename,renameat,renameat2 -o trace.txt \
    "$1/drawing-render" --size 4x4 --frames 2 --seed 1 --quiet --out out.bmp 2>strace.err; then
  grep -q "ptrace" strace.err && { echo "strace may not trace here" >&2; exit 77; }
  e2e_fail "drawing-render failed: $(cat strace.err)"
fi
# The order of the temporary's fsync, the rename and the directory's fsync.
order=$(awk '
  /openat\(.*"[^"]*\.out\.bmp\.[^"]*\.tmp".*O_CREAT/ { split($0, a, "= "); temporary = a[2] + 0 }
  /^[0-9]+ +fsync\(/ { fd = $0; sub(/.*fsync\(/, "", fd); fd += 0
                       if (fd == temporary && !renamed) print "file"
                       if (fd == directory && renamed) print "directory" }
  /rename.*\.tmp", .*"out\.bmp"/ { renamed = 1; print "rename" }
  /openat\(.*O_DIRECTORY/ && renamed { split($0, a, "= "); directory = a[2] + 0 }
' trace.txt | tr '\n' ' ')
[[ $order == "file rename directory " ]] ||
  e2e_fail "expected fsync of the file, rename, fsync of the directory; saw: $order"
[[ $(head -c 2 out.bmp) == BM ]] || e2e_fail "out.bmp was not replaced"
