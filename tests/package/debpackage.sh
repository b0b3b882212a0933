#!/usr/bin/env bash
# Validates the desktop entry and the AppStream metadata, builds the Debian package with cpack,
# checks it with lintian (errors fail, warnings are shown), unpacks it into a throw-away root and
# starts the unpacked veldra with a project on its command line: its main window must show and the
# project must be opened (a project that opens is added to the recent projects in the settings;
# one that fails to open is not). Needs an X server (the test stage's Xvfb).
#   debpackage.sh <Veldra build folder> <.desktop file> <metainfo file> <work folder>
set -euo pipefail

build=$1
desktop_entry=$2
metainfo=$3
work=$4

desktop-file-validate "$desktop_entry"
appstreamcli validate --no-net "$metainfo"

rm -rf "$work"
mkdir -p "$work"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >"$work/cpack.log" ||
    { cat "$work/cpack.log" >&2; exit 1; }
deb=$(find "$work/package" -maxdepth 1 -name 'veldra_*.deb')
dpkg-deb --field "$deb"

lintian --fail-on error --tag-display-limit 0 "$deb"

root="$work/root"
dpkg-deb -x "$deb" "$root"
for file in usr/share/applications/com.korvan.veldra.desktop usr/share/mime/packages/veldra.xml \
    usr/share/metainfo/com.korvan.veldra.metainfo.xml \
    usr/share/icons/hicolor/256x256/apps/veldra.png; do
    if [ ! -f "$root/$file" ]; then
        echo "the package lacks $file" >&2
        exit 1
    fi
done

# The file types as the desktop's MIME database reads them from the package.
update-mime-database "$root/usr/share/mime"
for glob in "application/x-veldra-project:*.veldra" "application/x-veldra-pack:*.veldrapack"; do
    if ! grep -qxF "$glob" "$root/usr/share/mime/globs"; then
        echo "the MIME database of the package lacks $glob" >&2
        exit 1
    fi
done

home="$work/home"
mkdir -p "$home/config" "$home/data" "$home/cache" "$home/state" "$home/runtime"
chmod 700 "$home/runtime"
project="$work/packaged-project.veldra"
cat >"$project" <<'JSON'
{"format": "veldra-project", "version": 1,
 "stage": {"width": 640, "height": 360, "frameRate": 30},
 "scenes": [{"name": "First", "background": "#20242c", "duration": 2000, "elements": []}]}
JSON

env -u LD_LIBRARY_PATH -u VELDRA_PLUGIN_PATH \
    HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    XDG_CACHE_HOME="$home/cache" XDG_STATE_HOME="$home/state" XDG_RUNTIME_DIR="$home/runtime" \
    VELDRA_NO_MESSAGE_BOXES=1 \
    "$root/usr/bin/veldra" "$project" >"$work/veldra.log" 2>&1 &
veldra=$!
trap 'kill "$veldra" 2>/dev/null || true' EXIT

settings="$home/config/Veldra/Veldra.ini"
opened=""
for _ in $(seq 1 120); do
    if xdotool search --name '^Veldra$' >/dev/null 2>&1 &&
        grep -qxF "RecentProjects=$project" "$settings" 2>/dev/null; then
        opened=yes
        break
    fi
    if ! kill -0 "$veldra" 2>/dev/null; then
        break
    fi
    sleep 0.5
done
if [ -z "$opened" ] || grep -q "is missing" "$work/veldra.log"; then
    echo "the packaged veldra did not open $project:" >&2
    cat "$work/veldra.log" >&2
    exit 1
fi
