#!/usr/bin/env bash
# Checks what a desktop reads with the tools of Debian's own packages; skips (77) when the
# tool is not installed. Usage: desktop_files_test.sh desktop|appstream|lintian BUILD SOURCE
set -euo pipefail
mode=$1
build=$(cd "$2" && pwd)
source=$(cd "$3" && pwd)
need() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
    done
}
case $mode in
desktop)
    need desktop-file-validate
    # Hints (suggestions of further categories) are not faults.
    out=$(desktop-file-validate "$source/packaging/yomibon.desktop" | grep -v ': hint: ' || true)
    [ -z "$out" ] || { echo "$out"; exit 1; }
    # Beside a text editor that does not sort first either, plain text stays the editor's.
    command -v gio >/dev/null && command -v update-desktop-database >/dev/null &&
        command -v update-mime-database >/dev/null || exit 0
    work=$(mktemp -d /tmp/yomibon-desktop.XXXXXX)
    trap 'rm -rf "$work"' EXIT
    mkdir -p "$work/share/applications" "$work/bin" "$work/home"
    cp "$source/packaging/yomibon.desktop" "$work/share/applications/"
    printf '[Desktop Entry]\nType=Application\nName=Text Editor\nExec=true %%f\nMimeType=text/plain;\n' \
        >"$work/share/applications/org.gnome.TextEditor.desktop"
    ln -s "$(type -P true)" "$work/bin/yomibon"
    update-desktop-database "$work/share/applications"
    mkdir -p "$work/share/mime/packages"
    cp "$source/packaging/yomibon-mime.xml" "$work/share/mime/packages/yomibon.xml"
    XDG_DATA_DIRS="$work/share" update-mime-database "$work/share/mime" 2>/dev/null
    query() { PATH="$work/bin:$PATH" XDG_DATA_DIRS="$work/share" XDG_DATA_HOME="$work/home" \
        XDG_CONFIG_HOME="$work/home" gio mime "$1" | sed -n 1p; }
    plain=$(query text/plain)
    [[ $plain == *org.gnome.TextEditor.desktop* ]] || { echo "$plain"; exit 1; }
    siori=$(query application/x-yomibon-siori)
    [[ $siori == *yomibon.desktop* ]] || { echo "$siori"; exit 1; }
    ;;
appstream)
    need appstreamcli
    appstreamcli validate --no-net --explain "$build/packaging/yomibon.metainfo.xml"
    ;;
lintian)
    need lintian dpkg-shlibdeps cpack
    grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' "$build/CMakeCache.txt" ||
        { echo "SKIP: the package is made from the release preset"; exit 77; }
    work=$(mktemp -d /tmp/yomibon-lintian.XXXXXX)
    trap 'rm -rf "$work"' EXIT
    (cd "$build" && cpack -B "$work" >"$work/cpack.log") || { cat "$work/cpack.log"; exit 1; }
    deb=$(ls "$work"/yomibon_*.deb)
    lintian --fail-on error,warning --display-info "$deb"
    ;;
*)
    echo "unknown mode $mode" >&2
    exit 2
    ;;
esac
