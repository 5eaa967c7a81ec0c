#!/bin/sh
# Installs what building and testing Spiral needs on Debian 12 (run as root).
set -e
packages="g++ cmake make binutils llvm libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev clang-14 libclang-rt-14-dev"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
fi
