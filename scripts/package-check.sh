#!/usr/bin/env bash
# Builds the Debian package of the designer (cpack in build/release), unpacks it into a fresh root
# and checks that what it installs works on its own:
#   - lintian finds no error and no warning (a tag that truly does not apply would be overridden in
#     the package's lintian-overrides, with the reason);
#   - the control fields: name, version, the Qt runtime among the dependencies; no maintainer
#     scripts and no conffiles, so that apt-get remove leaves nothing behind (no state "rc");
#   - the manual page names every option that --help lists;
#   - every run path of the installed programs and libraries is relative ($ORIGIN), and ldd finds
#     each of our libraries in the package's private folder, nothing in the build tree;
#   - with an empty environment (no display, no LD_LIBRARY_PATH): --version, --help, --check and
#     --dump of the installed designer, and the window refused in one line (exit 2);
#   - the walk-through on Qt's offscreen platform, which needs the design-time package: it must be
#     loaded from the private folder, and no file of the build tree may be opened;
#   - the desktop entry passes desktop-file-validate, and xdg-mime calls a .cvform file
#     application/x-cvform from the installed MIME database alone.
# Any failed check stops the script with a line saying which. The root is removed on success and
# kept (its path printed) on failure.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
build=$repo/build/release
started=$SECONDS

fail() {
  echo "package-check: FAILED: $*" >&2
  exit 1
}
ok() { echo "  ok: $*"; }

bash scripts/install-deps.sh

echo "== Debian package"
cmake --preset release >/dev/null
cmake --build --preset release --target cvdesigner CVKZLPalmoDsgn
rm -f "$build"/cvdesigner_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/cvdesigner_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single cvdesigner_*.deb in $build"
deb=${debs[0]}
echo "  $deb"

work=$(realpath "$(mktemp -d "${TMPDIR:-/tmp}/cvdesigner-package.XXXXXX")")
case "$work/" in "$repo"/*) fail "the fresh root $work lies inside the repository" ;; esac
trap 'status=$?; if [ $status -eq 0 ]; then rm -rf "$work"; else echo "package-check: the unpacked root is kept in $work" >&2; fi' EXIT
root=$work/root
mkdir -p "$root" "$work/home/data"

echo "== lintian"
status=0
tags=$(lintian --fail-on error,warning "$deb" 2>&1) || status=$?
tags=$(grep -v "running with root privileges" <<<"$tags" || true)
[ $status -eq 0 ] && ! grep -Eq '^[EW]: ' <<<"$tags" || fail "lintian (exit $status): $tags"
ok "lintian: no errors, no warnings"

echo "== Control fields"
[ "$(dpkg-deb -f "$deb" Package)" = cvdesigner ] || fail "package name is '$(dpkg-deb -f "$deb" Package)'"
version=$(dpkg-deb -f "$deb" Version)
[ "$("$build/bin/cvdesigner" --version)" = "cvdesigner $version" ] ||
  fail "package version $version differs from the designer's: $("$build/bin/cvdesigner" --version)"
ok "cvdesigner $version"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
  grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
ok "Depends: $depends"
control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed 's|^\./||' | grep -v '^$')
scripts=$(grep -Ex 'preinst|postinst|prerm|postrm|config|conffiles|triggers' <<<"$control" || true)
[ -z "$scripts" ] || fail "the package has maintainer scripts or conffiles, which keep it in state rc after removal: $scripts"
ok "control archive: $(tr '\n' ' ' <<<"$control")"

echo "== Unpacked into $root"
dpkg -x "$deb" "$root"
designer=$root/usr/bin/cvdesigner
[ -x "$designer" ] || fail "no usr/bin/cvdesigner in the package"
package=$(find "$root" -name libCVKZLPalmoDsgn.so -type f)
[ -n "$package" ] && [ "$(wc -l <<<"$package")" -eq 1 ] || fail "not exactly one libCVKZLPalmoDsgn.so in the package"
private=$(dirname "$package")
[ "$(basename "$private")" = cvdesigner ] || fail "the package is in ${private#"$root"}, not in a folder of the designer's own"
for lib in libcvhostgraphics.so libcvhostvcl.so libcvhostdesignide.so libcvhostcvcolor.so libcvhostpalmo.so; do
  [ -f "$private/$lib" ] || fail "$lib is not in ${private#"$root"}"
done
strays=$(find "$root" -name '*.so*' -not -path "$private/*")
[ -z "$strays" ] || fail "libraries outside the private folder: $strays"
ok "libraries in ${private#"$root"}"

echo "== Run paths and ldd"
elves=("$designer" "$private"/*.so)
for elf in "${elves[@]}"; do
  name=${elf#"$root"}
  runpath=$(readelf -d "$elf" | sed -n 's/.*(\(RUNPATH\|RPATH\)).*\[\(.*\)\]$/\2/p')
  [ -n "$runpath" ] || fail "$name has no run path"
  IFS=: read -ra entries <<<"$runpath"
  for entry in "${entries[@]}"; do
    [[ $entry == '$ORIGIN'* ]] || fail "$name has a run path entry that is not relative to it: $entry"
  done
  resolved=$(env -i PATH=/usr/bin:/bin ldd "$elf")
  ! grep -q "not found" <<<"$resolved" || fail "ldd $name: $(grep "not found" <<<"$resolved")"
  ! grep -qF "$repo" <<<"$resolved" || fail "ldd $name reaches into the repository: $(grep -F "$repo" <<<"$resolved")"
  while read -r lib _ path _; do
    case "$lib" in
      libcvhost* | libCVKZL*)
        [ "$(realpath "$path")" = "$private/$lib" ] || fail "ldd $name: $lib comes from $path, not ${private#"$root"}" ;;
    esac
  done < <(grep "=>" <<<"$resolved")
  ok "$name: run path $runpath, every library found"
done
# The shipped designer links no test library, and the form core no widgets (its test program links
# the core and Qt's Gui only, so widgets there would come from the core).
! env -i PATH=/usr/bin:/bin ldd "$designer" | grep -q libQt6Test || fail "cvdesigner links Qt's test library"
ok "cvdesigner links no test library"
core_tests=build/release/bin/test_forms
if [ -x "$core_tests" ]; then
  ! ldd "$core_tests" | grep -q libQt6Widgets || fail "the form core links Qt Widgets (test_forms does)"
  ok "the form core links no widgets"
fi

# The installed designer runs with nothing of this shell's environment: no display, no
# LD_LIBRARY_PATH, a home of its own, from a folder outside the repository.
run() { (cd "$work" && env -i PATH=/usr/bin:/bin HOME="$work/home" "$@"); }
cp examples/demo.cvform "$work/demo.cvform"
printf '{\n  "format": "cvform",\n  "version": 1,\n  "components": [ { "class": "TNoSuchThing" } ]\n}\n' >"$work/bad.cvform"

echo "== The installed designer without a display"
out=$(run "$designer" --version) || fail "cvdesigner --version exited $?"
[ "$out" = "cvdesigner $version" ] || fail "cvdesigner --version printed '$out'"
ok "--version: $out"
out=$(run "$designer" --help) || fail "cvdesigner --help exited $?"
[[ $out == "Usage: cvdesigner "* ]] || fail "cvdesigner --help printed: $out"
ok "--help"
out=$(run "$designer" --check demo.cvform) || fail "cvdesigner --check demo.cvform exited $?: $out"
[ -z "$out" ] || fail "cvdesigner --check demo.cvform reported: $out"
ok "--check demo.cvform: no problems"
status=0
out=$(run "$designer" --check bad.cvform) || status=$?
[ $status -eq 1 ] || fail "cvdesigner --check bad.cvform exited $status, not 1"
grep -Eq '^bad\.cvform:[0-9]+:[0-9]+: .*TNoSuchThing' <<<"$out" || fail "cvdesigner --check bad.cvform printed: $out"
ok "--check bad.cvform: exit 1, $(head -n 1 <<<"$out")"
out=$(run "$designer" --dump demo.cvform) || fail "cvdesigner --dump demo.cvform exited $?"
[ "$out" = "$("$build/bin/cvdesigner" --dump examples/demo.cvform)" ] || fail "cvdesigner --dump differs from the build tree's"
ok "--dump demo.cvform: $(wc -l <<<"$out") properties, as the build tree's designer lists them"
status=0
out=$(run "$designer" demo.cvform 2>&1) || status=$?
[ $status -eq 2 ] && [ "$(wc -l <<<"$out")" -eq 1 ] && [[ $out == *"no display"*"-platform offscreen"* ]] ||
  fail "cvdesigner demo.cvform without a display exited $status and printed: $out"
ok "the window without a display: exit 2, $out"

echo "== The installed designer loads its package (offscreen walk-through)"
status=0
out=$(run QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/home" LD_DEBUG=files LD_DEBUG_OUTPUT="$work/ld" \
  "$designer" --walkthrough "$work/shots" demo.cvform 2>"$work/walkthrough.err") || status=$?
[ $status -eq 0 ] || fail "the walk-through exited $status: $(grep FAILED <<<"$out" || cat "$work/walkthrough.err")"
loaded=$(cat "$work"/ld.* | grep -F "libCVKZLPalmoDsgn.so" | grep -F "dynamically loaded" || true)
[ -n "$loaded" ] || fail "the walk-through never loaded libCVKZLPalmoDsgn.so"
! grep -vqF "file=$private/libCVKZLPalmoDsgn.so " <<<"$loaded" || fail "the package was loaded from elsewhere: $loaded"
! grep -qF "$repo" "$work"/ld.* || fail "the walk-through opened files of the repository: $(grep -hF "$repo" "$work"/ld.* | head -n 3)"
ok "walk-through passed, the package loaded from ${private#"$root"}, nothing from $repo"

echo "== Manual page"
manual=$root/usr/share/man/man1/cvdesigner.1.gz
[ -f "$manual" ] || fail "no usr/share/man/man1/cvdesigner.1.gz"
page=$(LC_ALL=C MANWIDTH=200 man --warnings -l "$manual" 2>"$work/man.err") || fail "man -l cvdesigner.1.gz exited $?"
[ ! -s "$work/man.err" ] || fail "man: $(cat "$work/man.err")"
options=$(run "$designer" --help | sed -n 's/^  \(-[a-z], \)\{0,1\}\(--[a-z-]*\).*/\2/p')
[ "$(wc -l <<<"$options")" -ge 10 ] || fail "cannot read the options from --help: $options"
for option in $options; do
  grep -qE "^ +(-[a-z], )?$option( |$)" <<<"$page" || fail "the manual page does not describe $option"
done
ok "cvdesigner(1) describes all $(wc -l <<<"$options") options of --help"

echo "== Desktop entry"
entry=$root/usr/share/applications/cvdesigner.desktop
[ -f "$entry" ] || fail "no usr/share/applications/cvdesigner.desktop"
out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
grep -qx 'Exec=cvdesigner %f' "$entry" || fail "the entry does not run 'cvdesigner %f'"
grep -Eq '^MimeType=(.*;)?application/x-cvform;' "$entry" || fail "the entry does not open application/x-cvform"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no icon $icon.svg in hicolor/scalable/apps"
[ -f "$root/usr/share/icons/hicolor/scalable/mimetypes/application-x-cvform.svg" ] || fail "no icon for application/x-cvform"
ok "desktop-file-validate, Exec, MimeType, icons"

echo "== MIME type"
[ -f "$root/usr/share/mime/packages/cvdesigner.xml" ] || fail "no usr/share/mime/packages/cvdesigner.xml"
env XDG_DATA_DIRS="$root/usr/share" update-mime-database "$root/usr/share/mime"
grep -q '<comment>Palmo form</comment>' "$root/usr/share/mime/application/x-cvform.xml" ||
  fail "update-mime-database made no application/x-cvform with the comment 'Palmo form'"
# An empty environment: xdg-mime takes no desktop's own tool and asks the shared MIME database in
# the fresh root only.
out=$(run XDG_DATA_HOME="$work/home/data" XDG_DATA_DIRS="$root/usr/share" xdg-mime query filetype "$work/demo.cvform") ||
  fail "xdg-mime query filetype exited $?"
[ "$out" = application/x-cvform ] || fail "xdg-mime query filetype demo.cvform printed '$out'"
ok "xdg-mime query filetype demo.cvform: $out"

echo "== Package check passed in $((SECONDS - started)) s: $deb"
