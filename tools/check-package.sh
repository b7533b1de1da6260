#!/usr/bin/env bash
# Builds the Debian package, installs it with apt (which pulls the run-time packages), checks the
# installed program and removes the package again. Needs root on a machine where installing
# packages is allowed.
#
# Checks: the files are where the desktop looks for them; the desktop entry and the AppStream
# metainfo validate; vellumo-cli finds the SANE test scanner through the installed SANE
# configuration alone and scans a PDF that qpdf accepts; /usr/bin/vellumo starts on a virtual
# display and ends by itself.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
id=org.vellumo.Vellumo
# Other engineers' apt runs hold the dpkg lock for a while; wait for it rather than fail.
apt_get() { DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=300 "$@"; }
failures=0
fail() { echo "check-package: FAIL: $*" >&2; failures=$((failures + 1)); }
ok() { echo "check-package: ok: $*"; }

# The package is removed again at the end; an installation that was there before would be lost.
if dpkg-query -W -f='${Status}' vellumo 2>/dev/null | grep -q 'install ok installed'; then
    echo "check-package: vellumo is installed already; remove it first (apt-get remove vellumo)" >&2
    exit 1
fi

start=$(date +%s)
deb=$(tools/package.sh)
echo "check-package: built $deb ($(stat -c %s "$deb") bytes)"
dpkg-deb -f "$deb" Depends Recommends | sed 's/^/check-package:   /'

work=$(mktemp -d)
installed_before="$work/before"
dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" {print $2}' | sort >"$installed_before"
cleanup() {
    if dpkg-query -W -f='${Status}' vellumo 2>/dev/null | grep -q 'install ok installed'; then
        apt_get remove -y -qq vellumo >/dev/null
        echo "check-package: removed vellumo again"
    fi
    rm -rf "$work"
}
trap cleanup EXIT

apt_get install -y -qq "$deb" >/dev/null
dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" {print $2}' | sort |
    comm -13 "$installed_before" - | grep -vx vellumo | tr '\n' ' ' >"$work/pulled" || true
echo "check-package: installed vellumo; apt pulled in: $(cat "$work/pulled")"
[ -s "$work/pulled" ] && echo "check-package: (apt-get remove vellumo leaves those; remove them by hand if wanted)"

# The files, each where the desktop or the program looks for it.
expected=(
    /usr/bin/vellumo
    /usr/bin/vellumo-cli
    /usr/libexec/vellumo/vellumo-ocr-worker
    /usr/share/vellumo/Vellumo.html
    /usr/share/vellumo/sane/dll.conf
    /usr/share/vellumo/sane/test.conf
    /usr/share/applications/$id.desktop
    /usr/share/metainfo/$id.metainfo.xml
    /usr/share/icons/hicolor/scalable/apps/$id.svg
)
for size in 16 24 32 48 64 128 256; do expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"); done
dpkg -L vellumo | sort >"$work/files"
for f in "${expected[@]}"; do
    grep -qx "$f" "$work/files" && [ -f "$f" ] || fail "$f is not installed"
done
# Nothing but the two programs in bin (the help page belongs in the data folder).
extra=$(grep '^/usr/bin/.' "$work/files" | grep -vx -e /usr/bin/vellumo -e /usr/bin/vellumo-cli || true)
[ -z "$extra" ] || fail "unexpected files in /usr/bin: $extra"
outside=$(grep -v -e '^/\.$' -e '^/usr$' -e '^/usr/' "$work/files" || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
[ "$failures" -eq 0 ] && ok "$(grep -c . "$work/files") paths installed where expected"
grep -qx test /usr/share/vellumo/sane/dll.conf || fail "the installed dll.conf lacks the test back end"

desktop-file-validate /usr/share/applications/$id.desktop && ok "desktop-file-validate" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net /usr/share/metainfo/$id.metainfo.xml >"$work/as.txt" 2>&1 &&
    ok "appstreamcli validate --no-net" || { cat "$work/as.txt" >&2; fail "appstreamcli validate"; }

# Both programs run as a user with a home of their own and SANE_CONFIG_DIR unset, so the SANE
# test scanner can only come from the installed configuration.
home="$work/home"
mkdir -p "$home/tmp" "$home/run"
chmod 700 "$home/run"
as_user=(env -u SANE_CONFIG_DIR HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home/run"
    TMPDIR="$home/tmp")

# The scanner is named by its product, which only discovery through the installed dll.conf
# lists: a device name like test:0 would make SANE load the back end on demand anyway.
pdf="$work/x.pdf"
if timeout 120 "${as_user[@]}" /usr/bin/vellumo-cli scan --device 'Noname frontend-tester' -o "$pdf" >"$work/scan.txt" 2>&1; then
    if qpdf --check "$pdf" >/dev/null; then ok "vellumo-cli scan -o $pdf: qpdf --check accepts it"; else
        fail "qpdf --check rejects the scanned PDF"; fi
else
    cat "$work/scan.txt" >&2
    fail "vellumo-cli scan failed"
fi

# Text recognition runs in the installed recognition process: a page of text becomes a PDF whose
# text pdftotext finds.
convert -size 1400x300 xc:white -font /usr/share/fonts/truetype/lato/Lato-Regular.ttf \
    -pointsize 56 \
    -annotate +60+170 'Quarterly invoice for paper' "$work/text.png"
if timeout 120 "${as_user[@]}" /usr/bin/vellumo-cli pdf --ocr=eng -o "$work/text.pdf" \
    "$work/text.png" >"$work/ocr.txt" 2>&1 &&
    pdftotext "$work/text.pdf" - | grep -q 'Quarterly invoice'; then
    ok "vellumo-cli pdf --ocr: pdftotext finds the page's words"
else
    cat "$work/ocr.txt" >&2
    fail "vellumo-cli pdf --ocr made no searchable PDF"
fi

t0=$(date +%s)
if timeout 120 xvfb-run -a -s "-screen 0 1280x900x24" "${as_user[@]}" VELLUMO_QUIT_AFTER_MS=3000 \
    timeout 60 /usr/bin/vellumo >"$work/gui.txt" 2>&1; then
    ok "/usr/bin/vellumo started and ended by itself after $(($(date +%s) - t0)) s"
else
    rc=$?
    cat "$work/gui.txt" >&2
    fail "/usr/bin/vellumo exited with $rc"
fi

echo "check-package: $(($(date +%s) - start)) s in all"
if [ "$failures" -ne 0 ]; then
    echo "check-package: $failures check(s) failed" >&2
    exit 1
fi
echo "check-package: all checks passed"
