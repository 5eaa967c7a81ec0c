#!/bin/sh
# Installs what building and testing Spiral needs on Debian 12 (run as root).
# The Windows build needs the i386 architecture for Wine's 32-bit side.
set -e
packages="g++ cmake make binutils llvm libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev libfmt-dev clang-14 libclang-rt-14-dev"
# PNG and PDF output: librsvg and cairo (found through pkg-config), pdfinfo for its tests.
packages="$packages pkg-config librsvg2-dev libcairo2-dev poppler-utils"
# spiral-host's man page, written from its --help at build time.
packages="$packages help2man"
# `spiral-host serve` and its browser tests: cpp-httplib (found through
# pkg-config), Debian's chromium with a font for its screenshots.
packages="$packages libcpp-httplib-dev chromium fonts-dejavu-core"
# The Inkscape extension's end-to-end test: Inkscape headless under Xvfb.
packages="$packages inkscape xvfb xauth"
# The 32-bit Windows build and its tests: mingw-w64, GoogleTest's sources, Wine, pefile.
packages="$packages g++-mingw-w64-i686-posix googletest wine wine32:i386 python3-pefile"
# Where the kernel runs no 32-bit programs, the 64-bit Windows build stands in
# for the Wine runs: its compiler and Wine's 64-bit side.
packages="$packages g++-mingw-w64-x86-64-posix wine64"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
# Node.js and npm run Playwright; a machine that has them from elsewhere keeps them.
command -v node >/dev/null 2>&1 || missing="$missing nodejs"
command -v npm >/dev/null 2>&1 || missing="$missing npm"
if [ -n "$missing" ]; then
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  # A mirror caught mid-sync fails an index now and then: try again, and
  # after three tries go on with the indexes that did arrive (the install
  # below then fails plainly if a package is really missing).
  tries=0
  until apt-get update; do
    tries=$((tries + 1))
    if [ $tries -ge 3 ]; then
      echo "install-deps: apt-get update failed $tries times; going on with the indexes there are" >&2
      break
    fi
    sleep 15
  done
  if ! DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing; then
    # Without a current i386 index the i386 packages cannot match their
    # amd64 twins. Wine's 32-bit side is then left out: scripts/test-all.sh
    # finds it missing and checks the Windows build with Wine's 64-bit side.
    rest=$(echo "$missing" | tr ' ' '\n' | grep -v ':i386$' | tr '\n' ' ')
    echo "install-deps: installing without the i386 packages (Wine's 32-bit side)" >&2
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $rest
  fi
fi
# Playwright as pinned in tests/browser/package-lock.json (it drives the
# installed chromium; it downloads no browser).
cd "$(dirname "$0")/../tests/browser"
npm ci --no-audit --no-fund
