#!/usr/bin/env bash
# The package of this build: builds the .deb, unpacks it into a temporary root (nothing is
# installed on the machine), checks the files are where the launcher looks for them, and runs the
# launcher's first-start preparation in a temporary home.
#   tst_package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
expect_file() {
    [ -f "$1" ] || fail "missing $1"
}
expect_same() {
    cmp -s "$1" "$2" || fail "$1 differs from $2"
}

# The package, from the same build.
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/paquete" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    exit 1
fi
debs=("$work"/paquete/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: no single .deb" >&2; exit 1; }
deb=${debs[0]}
[ "$(dpkg-deb -f "$deb" Package)" = crinova ] || fail "package name"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6sql6-sqlite' || fail "Depends lacks the SQLite driver"

root=$work/raiz
dpkg -x "$deb" "$root"
usr=$root/usr
for file in bin/crinova lib/crinova/crinova lib/crinova/crinova-preparar; do
    [ -x "$usr/$file" ] || fail "$file is not an executable"
done
sh -n "$usr/bin/crinova" || fail "bin/crinova is not a valid shell script"
samples=$usr/share/crinova/programa
for file in crinova.db vexasinmo.jpg vexainicial.jpg pelo1.jpg mpelo1.jpg logotipo.jpg crinova.png; do
    expect_file "$samples/$file"
done
[ -d "$samples/clientes" ] || fail "missing the clientes folder"
[ -z "$(find "$samples" -name 'foto[1-6].bmp')" ] || fail "a run's photo slots were packaged"
[ ! -e "$samples/crinova" ] || fail "the executable is inside the sample folder"
expect_file "$usr/share/qt6/translations/crinova_es.qm"
desktop=$usr/share/applications/crinova.desktop
expect_file "$desktop"
desktop-file-validate "$desktop" || fail "crinova.desktop does not validate"
grep -qx 'Icon=crinova' "$desktop" || fail "launcher icon"
grep -qx 'Exec=crinova' "$desktop" || fail "launcher command"
for size in 16 24 32 48 64 128 256; do
    icon=$usr/share/icons/hicolor/${size}x${size}/apps/crinova.png
    expect_file "$icon"
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    dimensions=$(od -An -tu1 -j16 -N8 "$icon" |
        awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 "x" $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
    [ "$dimensions" = "${size}x${size}" ] || fail "icon $size is $dimensions"
done

# The installed tree is read-only and stays exactly as it was.
manifest() {
    (cd "$root" && find . -printf '%p %m %s %T@\n' | sort && find . -type f -exec sha256sum {} + | sort)
}
chmod -R a-w "$root"
manifest >"$work/antes"

# First start, default data folder.
export HOME=$work/casa
mkdir -p "$HOME"
unset XDG_DATA_HOME
prepare=$usr/lib/crinova/crinova-preparar
folder=$("$prepare")
[ "$folder" = "$HOME/.local/share/crinova" ] || fail "first start used $folder"
expect_same "$samples/crinova.db" "$folder/crinova.db"
expect_same "$samples/vexasinmo.jpg" "$folder/vexasinmo.jpg"
expect_same "$usr/lib/crinova/crinova" "$folder/crinova"
[ -x "$folder/crinova" ] || fail "the user's copy of the program is not executable"
case $(stat -c %A "$folder/crinova.db") in
    ?rw*) ;;
    *) fail "the user's crinova.db is not writable" ;;
esac
case $(stat -c %A "$folder/clientes") in
    drwx*) ;;
    *) fail "the user's clientes folder is not writable" ;;
esac
[ -z "$(find "$HOME/.local/share" -maxdepth 1 -name '.crinova.*')" ] || fail "a half copy was left"

# Second start: the salon's own files stay.
printf 'datos del salon' >"$folder/crinova.db"
printf 'foto' >"$folder/clientes/ana.jpg"
mkdir -p "$folder/copias" && printf 'copia' >"$folder/copias/crinova1.db"
rm "$folder/vexainicial.jpg"
[ "$("$prepare")" = "$folder" ] || fail "second start used another folder"
[ "$(cat "$folder/crinova.db")" = 'datos del salon' ] || fail "the second start replaced crinova.db"
[ "$(cat "$folder/clientes/ana.jpg")" = foto ] || fail "the second start lost a client photo"
[ "$(cat "$folder/copias/crinova1.db")" = copia ] || fail "the second start lost a backup"
[ ! -e "$folder/vexainicial.jpg" ] || fail "the second start copied the samples again"

# XDG_DATA_HOME decides where, when it is an absolute path.
export XDG_DATA_HOME=$work/datos
[ "$("$prepare")" = "$work/datos/crinova" ] || fail "XDG_DATA_HOME was not followed"
expect_file "$work/datos/crinova/crinova.db"
export XDG_DATA_HOME=relativa
[ "$("$prepare")" = "$folder" ] || fail "a relative XDG_DATA_HOME was not ignored"

# Nothing under the installed root was written.
manifest >"$work/despues"
diff "$work/antes" "$work/despues" >&2 || fail "the installed tree was written"

unset XDG_DATA_HOME
# A package update brings a new executable: the user's copy follows, the salon's files stay.
chmod u+w "$usr/lib/crinova" "$usr/lib/crinova/crinova"
printf 'x' >>"$usr/lib/crinova/crinova"
chmod a-w "$usr/lib/crinova" "$usr/lib/crinova/crinova"
"$prepare" >/dev/null
expect_same "$usr/lib/crinova/crinova" "$folder/crinova"
[ "$(cat "$folder/crinova.db")" = 'datos del salon' ] || fail "the update replaced crinova.db"

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "package checks passed"
