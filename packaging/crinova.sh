#!/bin/sh
# Starts Crinova from the user's own program folder, made on the first start.
here=$(dirname "$(readlink -f "$0")")
folder=$("$here/../lib/crinova/crinova-preparar") || exit 1
exec "$folder/crinova" "$@"
