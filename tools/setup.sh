#!/usr/bin/env bash
# Installs every Debian package the build and the tests need (the lists in tools/packages/).
# Safe to run again: it only calls apt-get when something is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# A list names one or more packages per line; anything after # is a comment.
mapfile -t wanted < <(cat "$here"/packages/*.txt | sed -e 's/#.*//' | tr -s '[:space:]' '\n' | grep -v '^$' | sort -u)
missing=()
for pkg in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

# pdf.js, the tests' independent reader of PDFs in the browser's way, from the npm registry.
pdfjs="$here/../tests/support/pdfjs"
if [ ! -d "$pdfjs/node_modules/pdfjs-dist" ] || [ "$pdfjs/package-lock.json" -nt "$pdfjs/node_modules" ]; then
    (cd "$pdfjs" && npm ci --no-audit --no-fund --loglevel=error)
fi
