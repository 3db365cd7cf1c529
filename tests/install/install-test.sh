#!/usr/bin/env bash
# Installs the build tree into a DESTDIR and checks it as a desktop and a user see it: the desktop entry and the
# metainfo validate, every file they name is there, the installed program finds its libraries and its codec plugin
# without LD_LIBRARY_PATH (--help, a headless build, an evaluation that decodes an image), and a project file is told
# from other ".data" files by its content. As root it then builds the Debian package, installs it with dpkg, runs the
# program from /usr/bin and removes the package again, checking that none of its files is left.
#
#     install-test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
app_id=example.ovreltrainer.OvrelTrainer
package=ovreltrainer
work=$(mktemp -d)
package_installed=0

cleanup() {
  # A failure halfway must not leave the package on the machine.
  if [ "$package_installed" = 1 ]; then
    dpkg --purge "$package" >/dev/null 2>&1 || echo "could not remove the package $package" >&2
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The program with a bare environment: no library path, no display, a home of its own.
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
run() {
  env -i HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" PATH=/usr/bin:/bin "$@"
}

# --- The desktop entry and the metainfo -------------------------------------------------------------------------
desktop="$source/packaging/$app_id.desktop"
metainfo="$source/packaging/$app_id.metainfo.xml"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Exec)" = "OvrelTrainer %f" ] || fail "Exec is '$(entry Exec)'"
[ "$(entry Categories)" = "Graphics;Development;" ] || fail "Categories is '$(entry Categories)'"
icon=$(entry Icon)
mime_type=$(entry MimeType)
mime_type=${mime_type%;}

# --- make install into a DESTDIR --------------------------------------------------------------------------------
dest="$work/dest"
DESTDIR="$dest" cmake --install "$build" --prefix /usr/local --strip >"$work/install.log" ||
  fail "cmake --install: $(cat "$work/install.log")"
root="$dest/usr/local"
program="$root/bin/OvrelTrainer"
private="$root/lib/ovreltrainer"
for f in bin/OvrelTrainer lib/ovreltrainer/libOvrel.so lib/ovreltrainer/libOvrelCommon.so \
  lib/ovreltrainer/libOvrelCodecs.so "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
  share/mime/packages/ovreltrainer.xml share/man/man1/OvrelTrainer.1.gz; do
  [ -f "$root/$f" ] || fail "$f is not installed"
done
[ -x "$program" ] || fail "the program is not executable"
for size in 16 22 24 32 48 64 128 256; do
  png="$root/share/icons/hicolor/${size}x${size}/apps/$icon.png"
  file -b "$png" | grep -q "^PNG image data, $size x $size," || fail "no ${size}x${size} PNG icon $icon"
done
grep -q "type=\"$mime_type\"" "$root/share/mime/packages/ovreltrainer.xml" || fail "$mime_type is not defined"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$root/share/metainfo/$app_id.metainfo.xml" ||
  fail "the metainfo does not launch $app_id.desktop"
# No glob: ".data" belongs to many programs.
! grep -q "<glob" "$root/share/mime/packages/ovreltrainer.xml" || fail "the MIME type claims a file name pattern"
zcat "$root/share/man/man1/OvrelTrainer.1.gz" | grep -q -- '-\\-train' || fail "the man page lacks --train"

# The libraries are found through the RUNPATH, relative to the installed files, never in the build tree.
runpath() { readelf -d "$1" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p'; }
[ "$(runpath "$program")" = '$ORIGIN/../lib/ovreltrainer' ] || fail "the program's RUNPATH is '$(runpath "$program")'"
for lib in "$private"/*.so; do
  case "$(runpath "$lib")" in *"$build"*) fail "$lib looks in the build tree" ;; esac
done
for lib in libOvrel.so libOvrelCommon.so; do
  run ldd "$program" | grep -q "$lib => $root/bin/../lib/ovreltrainer/$lib" || fail "ldd does not find $lib installed"
done
! run ldd "$private/libOvrelCodecs.so" | grep -q "not found" || fail "the codec plugin misses a library"

# A project of one class with a train and a test image, and a network small enough to run here with zero weights.
make_project() { # folder
  local dir="$1/demo"
  mkdir -p "$dir/Images"
  cp "$source/resources/Image/photo.png" "$dir/Images/a.png"
  cp "$source/resources/Image/photo.png" "$dir/Images/b.png"
  local config
  config=$'[net]\nwidth=32\nheight=32\nchannels=3\n\n[convolutional]\nfilters=6\nsize=1\nstride=1\npad=0\n'
  config+=$'activation=linear\n\n[yolo]\nmask=0\nanchors=10,14\nclasses=1\nnum=1\n'
  {
    cat "$source/resources/Files/tamsel_database_sqlite.sql"
    cat <<SQL
;
INSERT INTO project_training (NAME, TYPE, VERSION, CREATED_DATETIME) VALUES('demo', 'Yolo3', '0.0.1', '2026-01-01T00:00:00');
INSERT INTO project_property (NAME, VALUE, TYPE, PROJECT_ID) VALUES('PROJECT_CONFIGURATION', '$config', 'string', 1);
INSERT INTO category (NAME) VALUES('photo');
INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) VALUES('a.png', 'Images/a.png', 'train', 32, 32, 1);
INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) VALUES('b.png', 'Images/b.png', 'test', 32, 32, 1);
INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) VALUES(4, 4, 20, 20, 1, 1);
INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) VALUES(4, 4, 20, 20, 2, 1);
SQL
  } | sqlite3 "$dir/demo.data"
  # 6 biases and 3 x 6 weights after the 16-byte header of a Darknet weights file.
  head -c 112 /dev/zero >"$1/zero.weights"
  echo "$dir/demo.data"
}

# --help, a build and an evaluation of the project by the program at the path given.
check_program() { # program folder
  local exe="$1" project
  project=$(make_project "$2")
  run "$exe" --help >"$2/help.txt" 2>&1 || fail "$exe --help: $(cat "$2/help.txt")"
  grep -q -- "--build <project file>" "$2/help.txt" || fail "$exe --help lists no --build"
  run "$exe" --build "$project" >"$2/build.txt" 2>&1 || fail "$exe --build: $(cat "$2/build.txt")"
  grep -q "Build Completed" "$2/build.txt" || fail "$exe --build: $(cat "$2/build.txt")"
  [ "$(cat "$2/demo/Images/a.txt")" = "0 0.437500 0.437500 0.625000 0.625000" ] || fail "$exe --build wrote no label"
  # The evaluation decodes the test image through the codec plugin: a missing plugin leaves the image out.
  run "$exe" --evaluate "$project" --weights "$2/zero.weights" >"$2/evaluate.txt" 2>"$2/evaluate.err" ||
    fail "$exe --evaluate: $(cat "$2/evaluate.txt" "$2/evaluate.err")"
  grep -q "over 1 of 1 classes, 1 images" "$2/evaluate.txt" && ! grep -q "did not decode" "$2/evaluate.txt" &&
    ! grep -q "Cannot load the image codecs" "$2/evaluate.err" ||
    fail "$exe --evaluate decoded no image: $(cat "$2/evaluate.txt" "$2/evaluate.err")"
}

mkdir -p "$work/local"
check_program "$program" "$work/local"

# --- The project file's type, told by content ---------------------------------------------------------------------
mime="$work/xdg/mime"
mkdir -p "$mime/packages"
cp "$root/share/mime/packages/ovreltrainer.xml" "$mime/packages/"
update-mime-database "$mime" >/dev/null 2>&1 || fail "update-mime-database rejects the MIME type"
content_type() {
  env -i HOME="$work/home" XDG_DATA_HOME="$work/xdg-home" XDG_DATA_DIRS="$work/xdg:/usr/share" \
    gio info -a standard::content-type "$1" | sed -n 's/.*standard::content-type: //p'
}
# The program's settings are an SQLite ".data" file too; and so are many other programs' files.
sqlite3 "$work/settings.data" <"$source/resources/Files/database_sqlite.sql"
head -c 4096 /dev/urandom >"$work/other.data"
[ "$(content_type "$work/local/demo/demo.data")" = "$mime_type" ] || fail "a project file is not $mime_type"
[ "$(content_type "$work/settings.data")" = "application/vnd.sqlite3" ] || fail "the settings file is taken over"
[ "$(content_type "$work/other.data")" != "$mime_type" ] || fail "any .data file is taken over"

# --- The Debian package -------------------------------------------------------------------------------------------
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: installing the Debian package needs root; the DESTDIR installation passed"
  exit 77
fi
if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
  echo "SKIP: $package is installed on this machine already and is left alone; the DESTDIR installation passed"
  exit 77
fi
cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 || fail "cpack: $(cat "$work/cpack.log")"
deb=$(echo "$work/package/${package}_"*.deb)
[ -f "$deb" ] || fail "cpack made no package: $(cat "$work/cpack.log")"
depends=$(dpkg-deb -f "$deb" Depends)
grep -q "libqt5core5a" <<<"$depends" || fail "the Depends do not come from the linked libraries: $depends"
! grep -q "darknet" <<<"$depends" || fail "darknet is a hard dependency"
grep -q "darknet" <<<"$(dpkg-deb -f "$deb" Recommends)" || fail "darknet is not recommended"

package_installed=1
dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || fail "dpkg -i: $(cat "$work/dpkg.log")"
mkdir -p "$work/system"
check_program /usr/bin/OvrelTrainer "$work/system"

dpkg -r "$package" >"$work/dpkg.log" 2>&1 || fail "dpkg -r: $(cat "$work/dpkg.log")"
left=()
while read -r path; do
  [ -e "$path" ] && left+=("$path")
done < <(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -n 's|^\./|/|p' | grep -v '/$')
[ -e /usr/lib/ovreltrainer ] && left+=(/usr/lib/ovreltrainer)
[ ${#left[@]} -eq 0 ] || fail "left after dpkg -r: ${left[*]}"
# Not even the record of a removed package stays behind.
dpkg --purge "$package" >"$work/dpkg.log" 2>&1 || fail "dpkg --purge: $(cat "$work/dpkg.log")"
package_installed=0
echo "PASS"
