#!/bin/sh
# Installs the built program into a demo laboratory under the build folder,
# prepares the laboratory (database directory with ARCHIV.mdb and
# VORGABE.mdb, a project with sample tests, the settings value in a settings
# folder of the demo's own) and starts VELD on it. Called by `make run`
# after the build, with BUILD naming the build folder.
set -e

BUILD=${BUILD:-build}
if [ ! -x "$BUILD/VELD/VELD" ] || [ ! -x "$BUILD/veld_demo" ]; then
    echo "run-demo: build the program first (make run does)." >&2
    exit 1
fi
BUILD=$(cd "$BUILD" && pwd)
DEMO="$BUILD/demo"
LABOR="$DEMO/Labor"

cmake --install "$BUILD" --prefix "$LABOR" >/dev/null
# The demo's own settings folder: the user's settings are never touched.
XDG_CONFIG_HOME="$DEMO/config"
export XDG_CONFIG_HOME
"$BUILD/veld_demo" "$DEMO"

case $(printf '%s' "$LABOR" | tr '[:lower:]' '[:upper:]') in
*SOURCE*)
    echo "run-demo: the path $LABOR contains \"source\": VELD takes it for a development run."
    ;;
esac

# What this machine lacks, where the script can tell.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
    echo "run-demo: the German locale de_DE.UTF-8 is missing (locale -a does not list it): as root, uncomment \"de_DE.UTF-8 UTF-8\" in /etc/locale.gen and run locale-gen."
fi
if ! command -v lpstat >/dev/null 2>&1; then
    echo "run-demo: there is no print service: to print, as root: apt-get install cups, then start it (cupsd)."
elif ! lpstat -r >/dev/null 2>&1 || lpstat -r 2>/dev/null | grep -q "not running"; then
    echo "run-demo: the print service is not running: to print, start it as root (cupsd)."
fi
if [ -n "$DISPLAY" ]; then
    if ! command -v xhost >/dev/null 2>&1; then
        # Whoever owns the display needs it to let a colleague's VELD show
        # on it, whatever the display is.
        echo "run-demo: xhost is missing: a colleague who starts VELD on the display $DISPLAY needs its owner to allow it with xhost +si:localuser:<colleague>; as root: apt-get install x11-xserver-utils."
    elif ! xhost >/dev/null 2>&1; then
        echo "run-demo: this user may not use the display $DISPLAY: its owner allows it with xhost +si:localuser:$(id -un)."
    fi
fi

if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ]; then
    echo "run-demo: there is no display (DISPLAY and WAYLAND_DISPLAY are empty), so VELD cannot be shown."
    echo "run-demo: the demo laboratory is ready in $DEMO; start $LABOR/VELD/VELD with XDG_CONFIG_HOME=$DEMO/config on a desktop."
    exit 0
fi
echo "run-demo: starting $LABOR/VELD/VELD (later, without this script: XDG_CONFIG_HOME=$DEMO/config $LABOR/VELD/VELD)"
exec "$LABOR/VELD/VELD"
