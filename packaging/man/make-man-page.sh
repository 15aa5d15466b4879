#!/usr/bin/env bash
# Writes the manual page of one command with help2man from the command's own --help, so the page
# and --help cannot disagree. A command with subcommands ("commands:" in its --help) gets a
# COMMANDS section from each subcommand's --help, each with its examples from the include file,
# which must show every subcommand.
# Usage: make-man-page.sh BINARY SECTION VERSION NAME-LINE INCLUDE-FILE OUTPUT
set -euo pipefail
binary="$1" section="$2" version="$3" summary="$4" include="$5" output="$6"
command="$(basename "$binary")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# help2man reads the synopsis from "Usage:" lines. Subcommands get a section of their own, and
# the notes above their list are paragraphs each.
"$binary" --help | sed '1s/^usage:/Usage:/; 2,$s/^usage: /\nAlso:\n  /' >"$work/help"
cp "$include" "$work/include"
subcommands="$(sed -n '/^commands:$/,/^[^ ]/{/^  /s/^  \([^ ]*\).*/\1/p}' "$work/help")"
if [ -n "$subcommands" ]; then
    sed -i '/^commands:$/,$d; /^  /G' "$work/help"
    printf '[COMMANDS]\n' >>"$work/include"
    for sub in $subcommands; do
        examples="$(grep -E "^$command $sub( |$)" "$include")" || {
            echo "$include: no example of '$command $sub'" >&2
            exit 1
        }
        "$binary" "$sub" --help | sed "1s/^usage: $command \\[--root DIR\\] /.TP\\n.B /; s/-/\\\\-/g" \
            >>"$work/include"
        printf '.br\n.nf\n%s\n.fi\n' "$examples" >>"$work/include"
    done
fi

printf '#!/bin/sh\ncat %q\n' "$work/help" >"$work/$command"
chmod +x "$work/$command"
help2man --no-info --section="$section" --name="$summary" --version-string="$command $version" \
    --include="$work/include" --output="$output" "$work/$command"
