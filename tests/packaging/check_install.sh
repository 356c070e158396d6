#!/bin/sh
# Installs the build into a scratch root as the package does (prefix /usr),
# checks the installed files, the menu entry and the AppStream data, then
# starts the installed game through its launcher on SDL's offscreen video
# driver and checks the player's folder that the launcher prepares.
#   check_install.sh BUILD_DIR WORK_DIR
set -u
build=$1
work=$2
fail() { echo "check_install: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
    fail "cmake --install failed: $(cat "$work/install.log")"

app=org.quarzel.Quarzel
for f in usr/games/quarzel usr/lib/games/quarzel/quarzel \
    usr/share/games/quarzel/sounds/dead.wav usr/share/games/quarzel/sounds/beam.wav \
    usr/share/games/quarzel/sounds/boing2.wav usr/share/games/quarzel/sounds/ding.wav \
    usr/share/applications/$app.desktop usr/share/metainfo/$app.metainfo.xml \
    usr/share/icons/hicolor/32x32/apps/$app.png usr/share/icons/hicolor/48x48/apps/$app.png \
    usr/share/icons/hicolor/64x64/apps/$app.png usr/share/icons/hicolor/128x128/apps/$app.png \
    usr/share/icons/hicolor/256x256/apps/$app.png; do
    [ -f "$root/$f" ] || fail "not installed: /$f"
done
[ -x "$root/usr/games/quarzel" ] && [ -x "$root/usr/lib/games/quarzel/quarzel" ] || fail "not executable"
extra=$(cd "$root" && find . -type f | grep -v -e '^./usr/games/' -e '^./usr/lib/games/quarzel/' \
    -e '^./usr/share/games/quarzel/' -e '^./usr/share/applications/' -e '^./usr/share/metainfo/' \
    -e '^./usr/share/icons/hicolor/')
[ -z "$extra" ] || fail "installed beyond the game's files: $extra"

desktop="$root/usr/share/applications/$app.desktop"
grep -qx 'Exec=/usr/games/quarzel' "$desktop" || fail "the menu entry does not run the launcher"
grep -qx 'Categories=Game;ArcadeGame;' "$desktop" || fail "wrong categories"
grep -qx "Icon=$app" "$desktop" || fail "wrong icon name"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
else
    echo "check_install: desktop-file-validate not installed, menu entry not validated"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/$app.metainfo.xml" >"$work/appstream.log" 2>&1 ||
        fail "appstreamcli validate: $(cat "$work/appstream.log")"
else
    echo "check_install: appstreamcli not installed, metainfo not validated"
fi

# Starts the installed launcher with HOME and XDG_DATA_HOME as given (an
# empty value unsets it); the game is stopped after two seconds, and must
# still be running then (exit 124 from timeout).
launch() {
    (
        if [ -n "$1" ]; then export HOME="$1"; else unset HOME; fi
        if [ -n "$2" ]; then export XDG_DATA_HOME="$2"; else unset XDG_DATA_HOME; fi
        export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
        unset DISPLAY WAYLAND_DISPLAY
        cd /
        exec timeout 2 "$root/usr/games/quarzel"
    ) >"$work/launch.log" 2>&1
    rc=$?
    [ $rc -eq 124 ] || fail "the game did not keep running (exit $rc): $(cat "$work/launch.log")"
}

sounds="$root/usr/share/games/quarzel/sounds"
check_folder() {
    for s in dead beam boing2 ding; do
        [ -L "$1/$s.wav" ] && [ "$(readlink "$1/$s.wav")" = "$sounds/$s.wav" ] ||
            fail "$1/$s.wav does not link to the installed sound"
    done
    [ -f "$1/quarzel.ini" ] || fail "the settings file was not made in $1"
}

# First start: the folder is made, the sounds linked, the settings file made there.
home="$work/home"
mkdir -p "$home"
launch "$home" ""
data="$home/.local/share/quarzel"
check_folder "$data"

# A later start refreshes the links (a link left from an older install that
# points elsewhere, a link to a sound no longer installed) and keeps a sound
# of the player's own and the settings file.
ln -sfn /nonexistent/beam.wav "$data/beam.wav"
ln -sfn /nonexistent/old.wav "$data/old.wav"
rm "$data/ding.wav"
printf 'RIFF' >"$data/dead.wav.own" && mv "$data/dead.wav.own" "$data/dead.wav"
echo "Language=0" >"$data/quarzel.ini"
launch "$home" ""
[ ! -e "$data/old.wav" ] && [ ! -L "$data/old.wav" ] || fail "a stale link was kept"
[ ! -L "$data/dead.wav" ] && [ "$(cat "$data/dead.wav")" = "RIFF" ] || fail "the player's own sound was replaced"
rm "$data/dead.wav"
launch "$home" ""
check_folder "$data"
grep -qx "Language=0" "$data/quarzel.ini" || fail "the settings file was changed"

# XDG_DATA_HOME, when absolute, is where the folder goes.
launch "$home" "$work/xdg"
check_folder "$work/xdg/quarzel"

# Without a home folder the game still starts, from the sounds' folder.
launch "" ""
grep -q "cannot create a folder" "$work/launch.log" || fail "no word about the missing folder"

echo "check_install: installed tree, menu entry, AppStream data and launcher are right"
