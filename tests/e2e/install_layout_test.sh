# `cmake --install` lays out the programs, the XScreenSaver entry, the manual
# page and the launcher, and the install manifest removes them all again.
source "$(dirname "$0")/lib.sh"

build=$1
[[ -x "$build/drawing" && -x "$build/drawing-render" ]] || { echo "programs not built" >&2; exit 77; }
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/drawing bin/drawing-render bin/drawing-xscreensaver libexec/xscreensaver/drawing \
  share/xscreensaver/config/drawing.xml share/man/man6/drawing.6 share/man/man1/drawing-render.1 \
  share/man/man1/drawing-xscreensaver.1 \
  share/applications/drawing.desktop; do
  [[ -s "$prefix/$file" ]] || e2e_fail "cmake --install left out $file"
done
[[ "$("$prefix/libexec/xscreensaver/drawing" --version)" == "drawing "* ]] ||
  e2e_fail "the installed screen saver does not run"
xmllint --noout "$prefix/share/xscreensaver/config/drawing.xml" || e2e_fail "drawing.xml is not well-formed"
grep -q '<command arg="--root"/>' "$prefix/share/xscreensaver/config/drawing.xml" ||
  e2e_fail "drawing.xml does not start the program with --root"
warnings=$(groff -man -Tutf8 -ww -z "$prefix/share/man/man6/drawing.6" \
  "$prefix/share/man/man1/drawing-render.1" "$prefix/share/man/man1/drawing-xscreensaver.1" 2>&1)
[[ -z "$warnings" ]] || e2e_fail "the manual pages have faults: $warnings"
# The manifest names every installed file; removing them leaves no file.
xargs rm <"$build/install_manifest.txt"
left=$(find "$prefix" -type f)
[[ -z "$left" ]] || e2e_fail "left after removing the manifest's files: $left"
