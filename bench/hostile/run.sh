#!/usr/bin/env bash
# A whole run (results, error log, PDF book) over a folder that mixes good
# pictures with hostile ones: a crafted EXIF block read by auto-rotation and
# the shooting-time text, a FIFO, a folder, a name that is not UTF-8, a
# 250-byte name, cut-off, broken and empty files, five pictures of one base name, and
# listed files named like the run's own log, book and temporaries. Every good
# picture must be saved, every bad or damaged one logged, no listed file changed, and the
# peak memory stays low. Then costs.sh: small files that declare huge pictures
# over shared or missing data, loaded one by one (figures in costs.md).
# Reports the figures; fails when one is not met.
set -euo pipefail
build=$(realpath "${1:-build}")
render="$build/bench/render/render"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
here=$(dirname "$(realpath "$0")")
command -v convert >/dev/null || { echo "hostile: ImageMagick is needed to make the inputs"; exit 1; }
[ -x /usr/bin/time ] || { echo "hostile: /usr/bin/time is needed to measure memory"; exit 1; }

src="$work/src"
mkdir -p "$src"
noise() { convert -size "$1" xc:gray -seed 2 +noise Random "${@:2}"; }
good=()
for ext in jpg png gif bmp tif; do noise 640x480 "$src/good.$ext"; good+=("$src/good.$ext"); done
noise 1024x768 -quality 92 "$src/carrier.jpg"
python3 "$here/make_exif_bomb.py" "$src/carrier.jpg" "$src/exif-bomb.jpg"
good+=("$src/exif-bomb.jpg")   # its pixels are fine: only its tags are hostile
long=$(printf 'n%.0s' $(seq 1 250))
noise 320x240 "$src/$long.jpg"; good+=("$src/$long.jpg")
# Listed pictures named like what the run writes beside them.
for name in ErrorLog.txt "Vimo图片集.pdf" .good.jpg.part good_1.jpg; do
    noise 200x150 "jpg:$src/$name"; good+=("$src/$name")
done
bad=()
mkfifo "$src/pipe.jpg"; bad+=("$src/pipe.jpg")
mkdir "$src/folder.jpg"; bad+=("$src/folder.jpg")
cp "$src/good.png" "$src/$(printf 'caf\xe9.png')"; bad+=("$src/$(printf 'caf\xe9.png')")
# A cut-off JPEG decodes to what it holds (the rest grey): it is saved, and
# logged as damaged.
head -c 20000 "$src/good.jpg" > "$src/cut.jpg"; good+=("$src/cut.jpg"); damaged=1
: > "$src/empty.png"; bad+=("$src/empty.png")
echo "not a picture" > "$src/text.gif"; bad+=("$src/text.gif")
sums=$(cd "$src" && sha256sum -- ErrorLog.txt "Vimo图片集.pdf" .good.jpg.part good_1.jpg good.jpg)

cat > "$work/job.ini" <<INI
[Job]
iSizeMode=0
txtW=400
txtH=300
sText=#JPG照片拍摄时间#
sFont=Arial
iSize=18
chkInfoTxt=1
iRotateMode=2
sOutFormat=jpg
iJPGQ=85
chkRM=0
bSaveErr=1
chkPDF=1
sPDF1=Vimo图片集
INI

echo "-- whole run into the sources' own folder: ${#good[@]} good and ${#bad[@]} bad pictures"
set +e
/usr/bin/time -v -o "$work/time.txt" "$render" --job "$work/job.ini" --out "$src" "${good[@]}" "${bad[@]}" \
    > "$work/render.txt" 2>&1
set -e
cat "$work/render.txt"
log=$(ls "$src"/ErrorLog_*.txt | head -1)
iconv -f utf-8 -t utf-8 -c "$log" | tr -d "\r"
peak=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
logged=$(grep -c '^/' "$log" || true)
saved=$(grep -o 'failed [0-9]*' "$work/render.txt" | awk -v n=$(( ${#good[@]} + ${#bad[@]} )) '{print n - $2}')
unchanged=yes
(cd "$src" && echo "$sums" | sha256sum --quiet -c -) || unchanged=no
book=$(ls "$src"/Vimo图片集_*.pdf 2>/dev/null | head -1)
pages=$(pdfinfo "$book" 2>/dev/null | awk '/^Pages:/ {print $2}')
echo "pictures ${#good[@]} good + ${#bad[@]} bad; saved $saved; logged $logged (in $(basename "$log")); book $(basename "$book") with $pages pages; listed files unchanged: $unchanged; peak memory $((peak / 1024)) MB"
status=0
[ "$saved" -eq "${#good[@]}" ] || { echo "hostile: not every good picture was saved"; status=1; }
[ "$logged" -eq $(( ${#bad[@]} + damaged )) ] || { echo "hostile: not every bad or damaged picture was logged once"; status=1; }
[ "$unchanged" = yes ] || { echo "hostile: a listed file was changed"; status=1; }
[ "$peak" -lt $((300 * 1024)) ] || { echo "hostile: peak memory above 300 MB"; status=1; }

echo "-- small files whose declared pictures are far beyond their bytes, and honest ones"
bash "$here/costs.sh" "$build" || status=1
exit $status
