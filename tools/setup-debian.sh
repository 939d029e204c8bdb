#!/bin/sh
# Installs the Debian packages Plandeck needs to build, test and run.
# Idempotent: does nothing when every package is already present.
#   tools/setup-debian.sh          build, tests and the demo
#   tools/setup-debian.sh --dev    also debugger, screenshots, fuzzing, profiling and packaging tools
set -eu

packages="build-essential cmake ninja-build qtbase5-dev"
if [ "${1:-}" = "--dev" ]; then
    packages="$packages gdb xvfb xauth imagemagick clang libclang-rt-14-dev valgrind desktop-file-utils file"
fi

missing=""
for p in $packages; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing="$missing $p"
done

if [ -z "$missing" ]; then
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    as_root=""
elif command -v sudo >/dev/null 2>&1; then
    as_root="sudo"
else
    echo "setup-debian: missing packages:$missing; run this script as root or install sudo" >&2
    exit 1
fi

echo "setup-debian: installing$missing"
$as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
# shellcheck disable=SC2086
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
