#!/bin/sh
# Runs a program for help2man and tidies its --help for a man page: drops
# the line naming the settings file of the machine that builds, and closes
# the column gap between a command and its arguments so that help2man takes
# "qmxread-cli CMD ARGS" as the term and the text after it as its meaning.
program=$1
shift
"$program" "$@" | sed -E \
    -e '/^Settings file in use:/d' \
    -e 's/^(  qmxread-cli [a-z-]+) +(([^ ]+ )*[^ ]+)  +([^ ].*)$/\1 \2  \4/'
