# S pressed and released writes bild.bmp, the Canvas as a 24-bit BMP of the
# screen's size, in the working directory, and the program goes on.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/drawing_session.sh"

e2e_start_x "$E2E_SCREEN"
drawing_start "$1"
sleep 1
drawing_press s
file="$E2E_WORKDIR/bild.bmp"
for i in $(seq 1 50); do
  [[ -s "$file" ]] && break
  sleep 0.1
done
[[ -s "$file" ]] || e2e_fail "no bild.bmp after S"
sleep 1
drawing_expect_running

described=$(/usr/bin/identify -format '%m %wx%h %z' "$file")
echo "bild.bmp: $described"
# BMP3: a Windows BMP with the 40-byte header.
[[ "$described" =~ ^BMP3?\ $E2E_SCREEN\ 8$ ]] || e2e_fail "bild.bmp is '$described'"
bits=$(od -An -tu2 -j28 -N2 "$file" | tr -d ' ')
[[ "$bits" == 24 ]] || e2e_fail "bild.bmp has $bits bits per pixel"
size=$(stat -c %s "$file")
width=${E2E_SCREEN%x*}
height=${E2E_SCREEN#*x}
expected=$((54 + ((width * 3 + 3) / 4 * 4) * height))
[[ "$size" == "$expected" ]] || e2e_fail "bild.bmp has $size bytes, a 24-bit file has $expected"

drawing_press a
drawing_expect_exit 0
