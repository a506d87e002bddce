#!/usr/bin/env bash
# cmake --install into a scratch prefix: every file in place, the desktop entry, metainfo,
# MIME type and man pages valid, the programs run from there without the build tree.
# Usage: install-layout.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/usr
fail() { echo "install-layout: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.orvbook.ORVBook
for file in bin/orvbook bin/orvtool \
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/icons/hicolor/scalable/apps/orvbook.svg share/icons/hicolor/48x48/apps/orvbook.png \
    share/icons/hicolor/256x256/apps/orvbook.png share/mime/packages/orvbook-gallery.xml \
    share/man/man1/orvbook.1 share/man/man1/orvtool.1 \
    share/orvbook/HomePage/Index.htm share/orvbook/Support/logo.bmp share/orvbook/Support/StartUp.bmp \
    share/orvbook/demo/ORVBook.ini; do
    [[ -f $prefix/$file ]] || fail "missing $file"
done
[[ -x $prefix/bin/orvbook && -x $prefix/bin/orvtool ]] || fail "the programs are not executable"
[[ -x $prefix/lib/orvbook/orvtool-render ]] || fail "lib/orvbook/orvtool-render is not installed"

# The demo application folder is installed whole, its programs still executable.
diff -r "$build/packaging/demo-app" "$prefix/share/orvbook/demo" >/dev/null || fail "share/orvbook/demo differs from the built demo folder"
while IFS= read -r -d '' program; do
    [[ -x $prefix/share/orvbook/demo/${program#"$build/packaging/demo-app/"} ]] || fail "$program lost its execute bit"
done < <(find "$build/packaging/demo-app" -type f -perm -u+x -print0)
compgen -G "$prefix/share/orvbook/demo/ORVBookLib/*.GAL" >/dev/null || fail "no demo gallery installed"

for size in 48 256; do
    file "$prefix/share/icons/hicolor/${size}x$size/apps/orvbook.png" | grep -q "PNG image data, $size x $size" \
        || fail "the ${size}px icon is not a $size x $size PNG"
done

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate refused the desktop entry"
grep -qx 'Exec=orvbook %f' "$prefix/share/applications/$id.desktop" || fail "the desktop entry does not pass the file"
grep -qx 'MimeType=application/x-orvbook-gallery;' "$prefix/share/applications/$id.desktop" \
    || fail "the desktop entry does not name the gallery type"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null \
    || { appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"; fail "appstreamcli refused the metainfo"; }

# Both letter cases of a gallery's name map to the gallery type.
update-mime-database "$prefix/share/mime" 2>/dev/null
for pattern in '*.gal' '*.GAL'; do
    grep -qF ":application/x-orvbook-gallery:$pattern" "$prefix/share/mime/globs2" \
        || fail "no MIME glob $pattern"
done

for page in orvbook orvtool; do
    warnings=$(groff -man -ww -z "$prefix/share/man/man1/$page.1" 2>&1)
    [[ -z $warnings ]] || fail "$page.1: $warnings"
done
grep -q "$prefix/share/orvbook\|/share/orvbook" "$prefix/share/man/man1/orvbook.1" || fail "orvbook.1 names no data folder"

# No path into the build tree is left in the installed programs.
for program in bin/orvbook bin/orvtool lib/orvbook/orvtool-render; do
    if readelf -d "$prefix/$program" | grep -E 'R(UN)?PATH' | grep -q "$build"; then
        fail "$program keeps a run path into the build tree"
    fi
done
"$prefix/bin/orvtool" --version | grep -q '^orvtool [0-9]' || fail "the installed orvtool does not run"
"$prefix/bin/orvbook" --version | grep -q '^orvbook [0-9]' || fail "the installed orvbook does not run"
# A drawing command reaches the renderer's build of the tool, which only that build knows.
"$prefix/bin/orvtool" slide render --help >/dev/null || fail "the installed orvtool does not find orvtool-render"
echo "install-layout: all files in place under $prefix"
