#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks for the builds and tests:
# the 32-bit toolchain, qemu-user to run 32-bit tests, the MinGW-w64 cross
# compiler for the DLL, and the build and test tools. Installs only what is
# missing, so it is quick when everything is there.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
for pkg in cmake ninja-build g++ g++-multilib qemu-user g++-mingw-w64-i686 binutils-mingw-w64-i686 \
           googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev zip python3; do
  have_pkg "$pkg" || need+=("$pkg")
done

if [ ${#need[@]} -gt 0 ]; then
  echo "setup: installing ${need[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
echo "setup: toolchains ready"
