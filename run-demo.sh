#!/usr/bin/env bash
# The station against the simulated reader: installs what is missing, builds, lays out a demo
# OMR_HOME (optik.ini, sample FMT and DAT files, a tray of sheets), starts omrsim and opens
# markdesk (`./run-demo.sh service`: the service console markservice instead). Without a
# display it runs on a virtual one and saves a screenshot.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh"
bin=${OMR_BUILD_DIR:-$here/build}

home=${OMR_DEMO_HOME:-$here/demo-run}
rm -rf "$home"
mkdir -p "$home/fmt" "$home/data"
cp "$here"/demo/fmt/* "$home/fmt/"
cp "$here"/demo/data/* "$home/data/"

# Sheets written from the sample forms: one line per sheet with its tray folder, FMT file,
# status code and the wanted value of each field. The demo reads tray/; tray-anket/ holds
# sheets of the form whose marks are on the right.
n=0
while IFS='|' read -r tray fmt status values; do
    [ -z "$tray" ] || [ "${tray:0:1}" = "#" ] && continue
    n=$((n + 1))
    mkdir -p "$home/$tray"
    IFS=';' read -r -a fields <<< "$values"
    "$bin/sim/omrsim" make-sheet --fmt "$home/fmt/$fmt" --out "$(printf '%s/sheet%03d.txt' "$home/$tray" "$n")" \
        --status "$status" "${fields[@]}"
done < "$here/demo/tray.txt"

link="$home/reader"
# optik.ini: port, line settings, FMT folder, data folder, data extension; CR LF as on the
# station's own systems.
printf '%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n' "$link" "38400,N,8,1" "$home/fmt/" "$home/data/" ".DAT" \
    > "$home/optik.ini"

"$bin/sim/omrsim" --link "$link" --tray "$home/tray" --log "$home/omrsim.log" > "$home/omrsim.out" &
sim=$!
xvfb=""
cleanup() {
    kill "$sim" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
[ -e "$link" ] || { echo "omrsim did not start; see $home/omrsim.out" >&2; exit 1; }

export OMR_HOME="$home"
if [ "${1:-}" = "service" ]; then
    # The service console instead: path.txt names the exam form and the reader's link; it reads
    # the tray into SERVIS.DAT in its program folder on its own ("Oku" pressed).
    printf '%s\r\n%s\r\n' "fmt/sinav.fmt" "$link" > "$home/path.txt"
    export OMR_AUTOREAD_FMT=fmt/sinav.fmt OMR_AUTOREAD_DATA=SERVIS.DAT
    program="$bin/service/markservice" window='OPTICAL MARK READER' data="$home/SERVIS.DAT"
else
    # The station reads the tray into data/DEMO.DAT on its own: sinav.fmt chosen, DEMO typed,
    # "Form Oku" pressed. Reading stops at the last sheet, whose booklet letter B is a check hit.
    export OMR_AUTOREAD_FMT=sinav.fmt OMR_AUTOREAD_DATA=DEMO
    program="$bin/station/markdesk" window='Orvel_KESA' data="$home/data/DEMO.DAT"
fi
echo "Demo folder: $home (optik.ini, path.txt, fmt/, data/, tray/, omrsim.log)"

if [ -n "${DISPLAY:-}" ] && [ -z "${OMR_DEMO_SCREENSHOT:-}" ]; then
    "$program"
    echo "Data file: $data"
    exit 0
fi

shot=${OMR_DEMO_SCREENSHOT:-$home/$(basename "$program").png}
if [ -z "${DISPLAY:-}" ]; then
    echo "No display here: running $(basename "$program") on a virtual display (Xvfb)."
    display=:$((90 + RANDOM % 100))
    Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=$display
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
"$program" &
desk=$!
# Give it time to start, wake the reader and show the window.
for _ in $(seq 100); do
    xwininfo -root -tree 2>/dev/null | grep -q "$window" && break
    sleep 0.1
done
sleep "${OMR_DEMO_SECONDS:-2}"
import -window root "$shot"
kill -TERM "$desk" 2>/dev/null || true # closes the window: the last record is written
wait "$desk" || true
echo "Screenshot of the main window: $shot"
echo "Data file ($(grep -c $'\r$' "$data" 2>/dev/null || echo 0) sheets): $data"
