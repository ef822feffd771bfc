#!/usr/bin/env bash
# CI's package checks: builds the package, lists its contents, validates the menu entries and
# the AppStream data, installs it with apt-get, and starts the installed markdesk offscreen
# against the installed omrsim until its status line says the reader is there, then lets the
# installed markservice read a sheet from it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
deb=$("$here/scripts/package.sh" | tail -n 1)
echo "== $deb"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

echo "== menu entries and AppStream data"
desktop-file-validate "$here"/packaging/*.desktop
appstreamcli validate --no-net "$here"/packaging/*.metainfo.xml

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "== installing"
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --reinstall "$deb" >/dev/null
programs=(markdesk markservice omrsim markcsv)
for program in "${programs[@]}"; do
    [ "$(command -v "$program")" = "/usr/bin/$program" ] || { echo "$program is not in /usr/bin" >&2; exit 1; }
done
desktop-file-validate /usr/share/applications/tr.omr.*.desktop
for page in "${programs[@]}"; do
    dpkg -L markdesk | grep -qx "/usr/share/man/man1/$page.1.gz" || { echo "no manual page for $page" >&2; exit 1; }
done

echo "== the installed markdesk against the installed omrsim"
home=$(mktemp -d)
sim=""
station=""
cleanup() {
    [ -n "$station" ] && kill "$station" 2>/dev/null || true
    [ -n "$sim" ] && kill "$sim" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT
mkdir -p "$home/fmt" "$home/data" "$home/tray"
cp /usr/share/markdesk/ornekler/fmt/* "$home/fmt/"
printf '%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n' "$home/reader" "38400,N,8,1" "$home/fmt/" "$home/data/" ".DAT" \
    > "$home/optik.ini"
cd "$home"
/usr/bin/omrsim --link "$home/reader" --tray "$home/tray" > "$home/omrsim.out" 2>&1 &
sim=$!
for _ in $(seq 100); do [ -e "$home/reader" ] && break; sleep 0.1; done
OMR_HOME="$home" OMR_STATUS_FILE="$home/status.txt" QT_QPA_PLATFORM=offscreen \
    /usr/bin/markdesk > "$home/markdesk.out" 2>&1 &
station=$!
for _ in $(seq 200); do
    grep -qx 'Optik Okuyucu Açık' "$home/status.txt" 2>/dev/null && break
    kill -0 "$station" 2>/dev/null || break
    sleep 0.1
done
if ! grep -qx 'Optik Okuyucu Açık' "$home/status.txt" 2>/dev/null; then
    echo "markdesk did not reach the reader; its status lines and output:" >&2
    cat "$home/status.txt" "$home/markdesk.out" "$home/omrsim.out" >&2 2>/dev/null || true
    exit 1
fi
echo "markdesk: Optik Okuyucu Açık"

echo "== the installed markservice reads a sheet from the installed omrsim"
kill "$station" 2>/dev/null || true
wait "$station" 2>/dev/null || true
station=""
/usr/bin/omrsim make-sheet --fmt "$home/fmt/sinav.fmt" --out "$home/tray/sheet1.txt" \
    20260001 ABCDEABCDEABCDEABCDEABCDE A >/dev/null
printf '%s\r\n%s\r\n' "fmt/sinav.fmt" "$home/reader" > "$home/path.txt"
OMR_HOME="$home" OMR_AUTOREAD_FMT=fmt/sinav.fmt OMR_AUTOREAD_DATA=SERVIS.DAT QT_QPA_PLATFORM=offscreen \
    /usr/bin/markservice > "$home/markservice.out" 2>&1 &
station=$!
for _ in $(seq 200); do
    grep -q '^20260001ABCDEABCDEABCDEABCDEABCDEA' "$home/SERVIS.DAT" 2>/dev/null && break
    kill -0 "$station" 2>/dev/null || break
    sleep 0.1
done
if ! grep -q '^20260001ABCDEABCDEABCDEABCDEABCDEA' "$home/SERVIS.DAT" 2>/dev/null; then
    echo "markservice did not read the sheet; its output:" >&2
    cat "$home/markservice.out" "$home/omrsim.out" >&2 2>/dev/null || true
    exit 1
fi
echo "markservice: $(head -n 1 "$home/SERVIS.DAT")"
