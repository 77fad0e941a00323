#!/usr/bin/env bash
# Installs into a temporary prefix, moves the prefix elsewhere, hides the build and source
# trees in a private mount namespace and runs the installed programs there: the info and a
# spread of the bundled sample, and the window started offscreen and closed by SIGTERM.
# Usage: installed_program_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d /tmp/yomibon-install-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/first/usr" >"$work/install.log" || fail "install"
mv "$work/first/usr" "$work/moved"
prefix=$work/moved
lib=$prefix/lib/yomibon
sample=$lib/samples/rashomon.txt

for f in bin/yomibon bin/yomibon-cli lib/yomibon/Yomibon.ini lib/yomibon/Yomibon.pdf \
    lib/yomibon/gaiji.txt lib/yomibon/Layout/Bunko.lay lib/yomibon/unzip32.so \
    lib/yomibon/webp.spi share/applications/yomibon.desktop share/metainfo/*.metainfo.xml \
    share/mime/packages/yomibon.xml share/icons/hicolor/scalable/apps/yomibon.svg \
    share/icons/hicolor/48x48/apps/yomibon.png; do
    compgen -G "$prefix/$f" >/dev/null || fail "$f not installed"
done
[ "$(readlink "$prefix/bin/yomibon-cli")" = ../lib/yomibon/yomibon-cli ] || fail "link not relative"
# Nothing installed may lead back to the build tree: no run path, no path in a data file.
while IFS= read -r -d '' f; do
    if head -c4 "$f" | grep -q ELF; then
        ! readelf -d "$f" | grep -qE 'R(UN)?PATH' || fail "$f has a run path"
    elif grep -qaF "$build" "$f"; then
        fail "$f names the build tree"
    fi
done < <(find "$prefix" -type f -print0)

# The reference spread, drawn by the build tree's program before the trees are hidden.
"$build/bin/yomibon-cli" render "$build/bin/samples/rashomon.txt" --page 2 --size 640x400 \
    -o "$work/reference.png" || fail "reference render"

mkdir -p "$work/home"
cat >"$work/inside.sh" <<'INSIDE'
set -euo pipefail
prefix=$1 work=$2 build=$3 source=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
mount -t tmpfs none "$build"
[ "$source" = "$build" ] || mount -t tmpfs none "$source"
[ ! -e "$build/bin/yomibon-cli" ] || fail "the build tree is still reachable"
export HOME=$work/home
unset XDG_DATA_HOME XDG_CONFIG_HOME
cd "$work"
sample=$prefix/lib/yomibon/samples/rashomon.txt
"$prefix/bin/yomibon-cli" --version | grep -q '^yomibon-cli [0-9]' || fail "version"
"$prefix/bin/yomibon-cli" info "$sample" >info.txt || fail "info"
grep -q '^title: 羅生門$' info.txt || fail "info title: $(head -3 info.txt)"
grep -qE '^pages: [1-9][0-9]*$' info.txt || fail "info pages"
"$prefix/bin/yomibon-cli" render "$sample" --page 2 --size 640x400 -o installed.png ||
    fail "render"
cmp -s installed.png reference.png || fail "the installed program draws another spread"
if [ -x "$prefix/bin/yomibon" ]; then
    QT_QPA_PLATFORM=offscreen "$prefix/bin/yomibon" "$sample" >window.log 2>&1 &
    pid=$!
    # The per-user folder is made once the signal handlers are in place; the text is opened
    # by the first turn of the event loop, before a SIGTERM waiting for it is handled.
    for _ in $(seq 120); do
        [ -d "$HOME/.local/share/Yomibon/Layout" ] || sleep 0.5
    done
    sleep 2
    kill -0 "$pid" 2>/dev/null || fail "the window did not stay open: $(cat window.log)"
    kill -TERM "$pid"
    wait "$pid" || fail "the window did not close cleanly"
    ini=$HOME/.local/share/Yomibon/Yomibon.ini
    grep -qF "LastFile=$sample" "$ini" || fail "the window did not record the sample in $ini"
    [ -f "$HOME/.local/share/Yomibon/Layout/Bunko.lay" ] || fail "layouts not in the user folder"
fi
[ ! -e "$prefix/lib/yomibon/keybind.ini" ] || fail "the program folder was written to"
grep -q '^UseApplicationData=1' "$prefix/lib/yomibon/Yomibon.ini" || fail "Yomibon.ini changed"
INSIDE
# Root may make a mount namespace; others map themselves to root inside one.
hide=(unshare --mount --propagation private)
[ "$(id -u)" -eq 0 ] || hide+=(--map-root-user)
if ! "${hide[@]}" true 2>/dev/null; then
    echo "SKIP: no private mount namespace here to hide the build tree in"
    exit 77
fi
"${hide[@]}" bash "$work/inside.sh" "$prefix" "$work" "$build" "$source"
echo "installed programs ran from $prefix"
