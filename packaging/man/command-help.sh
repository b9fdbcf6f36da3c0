#!/usr/bin/env bash
# Writes a help2man include file that makes the DESCRIPTION of a program with commands: the
# description paragraph of the program's --help, then one subsection per command that help lists,
# made from that command's own --help. The manual page so follows the help of every command.
#
#   command-help.sh PROGRAM OUTPUT
set -euo pipefail

program="$1"
output="$2"
name="$(basename "$program")"
here="$(dirname "$0")"

# The lines after the usage line up to the first blank one. (The awk programs read their input
# to the end, so that the program never writes into a closed pipe.)
describe() {
    "$program" --help | awk 'NR > 1 && /^ *$/ { done = 1 } NR > 1 && !done { print }'
}

# The first word of each entry of the "Commands:" list (indented by two spaces).
list_commands() {
    "$program" --help | awk '/^Commands:/ { listing = 1; next }
                             /^ *$/ { listing = 0 }
                             listing && /^  [^ ]/ { print $1 }'
}

commands="$(list_commands)"
if [ -z "$commands" ]; then
    echo "$0: '$program --help' lists no commands" >&2
    exit 1
fi

{
    echo "[=DESCRIPTION]"
    describe | awk -f "$here/help-to-roff.awk" -v program="$name"
    for command in $commands; do
        "$program" "$command" --help | awk -f "$here/help-to-roff.awk" -v program="$name"
    done
} >"$output.tmp"
mv "$output.tmp" "$output"
