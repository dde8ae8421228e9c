#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the manual page of velmora-admin from the program's own help, so the page always lists
# every command with its full help. Usage: admin-manpage.sh VELMORA-ADMIN VERSION OUTPUT
set -eu
admin=$1
version=$2
output=$3

# Plain text to roff: backslashes kept, lines that would read as requests kept as text.
roff() {
    sed -e 's/\\/\\e/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"
}
# Running text: as above, a blank line starting a new paragraph.
prose() {
    roff | sed -e 's/^$/.PP/'
}

help=$("$admin" --help)
# The command lines of the general help: "  velmora-admin WORDS ARGUMENTS".
commands=$(printf '%s\n' "$help" | awk '
    /^  velmora-admin / {
        words = ""
        for (i = 2; i <= NF && $i ~ /^[a-z][a-z0-9-]*$/; i++) words = words " " $i
        print substr(words, 2)
    }')
[ -n "$commands" ] || { echo "admin-manpage.sh: no commands in '$admin --help'" >&2; exit 1; }

{
    printf '.TH VELMORA-ADMIN 1 "" "velmora %s" "User Commands"\n' "$version"
    printf '.SH NAME\nvelmora-admin \\- the teacher'"'"'s companion to the Velmora course book\n'
    printf '.SH SYNOPSIS\n.B velmora-admin\n.I COMMAND\n.RI [ ARGUMENTS ]\n'
    printf '.br\n.B velmora-admin\n.RI [ COMMAND ]\n.B \\-\\-help\n'
    printf '.SH DESCRIPTION\n'
    # The general help between its usage line and its command list, then what follows the list.
    printf '%s\n' "$help" | awk 'NR > 1 && /^Commands:/ { exit } NR > 1' | prose
    printf '.SH COMMANDS\n'
    printf '%s\n' "$commands" | while IFS= read -r words; do
        # shellcheck disable=SC2086 # the words are separate arguments
        text=$("$admin" $words --help)
        printf '.SS "%s"\n' "$(printf '%s\n' "$text" | sed -n '1s/^Usage: //p' | roff)"
        printf '.nf\n'
        printf '%s\n' "$text" | sed '1,2d' | roff
        printf '.fi\n'
    done
    # The section on question banks, with an example of each format, written by hand.
    cat "$(dirname "$0")/velmora-admin-banks.roff"
    printf '.SH NOTES\n'
    # The paragraphs after the command list (its lines are indented), without the leading blank.
    printf '%s\n' "$help" | awk 'seen && !/^  / && (NF || text) { print; text = 1 } /^Commands:/ { seen = 1 }' | prose
    printf '.SH SEE ALSO\n.BR velmora (1),\n.BR velmora-launch (1)\n'
} >"$output.new"
mv "$output.new" "$output"
