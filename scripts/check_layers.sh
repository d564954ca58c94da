#!/usr/bin/env bash
# Arrows point down only: nothing outside src/app and src/main_window includes a main_window
# header, and the core library stays free of widgets.
# Usage: check_layers.sh SOURCE_ROOT "CORE_LINK_LIBRARIES"
set -uo pipefail
root=$1
core_links=${2:-}
status=0

upward=$(cd "$root" && grep -rnE '#[[:space:]]*include[[:space:]]*[<"]main_window/' src tools \
    --include='*.h' --include='*.cpp' | grep -vE '^src/(app|main_window)/')
if [ -n "$upward" ]; then
    echo "These files include main_window/ from below it:"
    echo "$upward"
    status=1
fi

if echo "$core_links" | grep -qE 'Widgets|PrintSupport'; then
    echo "crinova_core links a widget library: $core_links"
    status=1
fi

[ $status -eq 0 ] && echo "Layers are sound."
exit $status
