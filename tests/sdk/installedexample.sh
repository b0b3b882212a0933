#!/usr/bin/env bash
# The SDK as a plug-in author meets it: Veldra installed into a prefix (then moved, as installs
# must be relocatable), the example plug-in configured with nothing but find_package(VeldraCore)
# against it, built and installed into the prefix's plug-in folder; the installed veldra must
# load it with the shipped plug-ins and run its command, without LD_LIBRARY_PATH.
#   installedexample.sh <Veldra build folder> <example source folder> <work folder> [launcher]
set -euo pipefail

build=$1
example=$2
work=$3
launcher=${4:-}

rm -rf "$work"
mkdir -p "$work"
cmake --install "$build" --prefix "$work/staging" >"$work/install.log"
mv "$work/staging" "$work/prefix"
prefix="$work/prefix"

private_headers=$(find "$prefix/include/veldra" -name '*_p.h')
if [ -n "$private_headers" ]; then
    echo "private headers were installed: $private_headers" >&2
    exit 1
fi

cmake -S "$example" -B "$work/example" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
    ${launcher:+"-DCMAKE_CXX_COMPILER_LAUNCHER=$launcher"}
cmake --build "$work/example"
cmake --install "$work/example" --prefix "$prefix"

home="$work/home"
mkdir -p "$home/config" "$home/data" "$home/cache" "$home/runtime"
chmod 700 "$home/runtime"
report="$work/report.txt"
env -u LD_LIBRARY_PATH -u VELDRA_PLUGIN_PATH \
    HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/runtime" \
    VELDRA_NO_MESSAGE_BOXES=1 VELDRA_EXAMPLE_REPORT="$report" \
    timeout 60 "$prefix/bin/veldra" 2>&1 | tee "$work/veldra.log"

if grep -q "is missing" "$work/veldra.log"; then
    echo "the installed veldra misses its shared files" >&2
    exit 1
fi
for plugin in core scenes welcome pluginlist; do
    if ! grep -q "^$plugin " "$report"; then
        echo "the command's report does not list the plug-in $plugin:" >&2
        cat "$report" >&2 || true
        exit 1
    fi
done
