#!/bin/sh
# with_closed_pipe.sh COMMAND...: runs COMMAND with its standard output a pipe that nobody reads
# any more, as in `COMMAND | head -c1` once head has ended, but without the race: the reading
# end is closed before COMMAND starts, so its first write raises SIGPIPE.
folder=$(mktemp -d) || exit 99
mkfifo "$folder/pipe" || exit 99
# Opened for reading and writing first, so that opening the writing end does not block.
exec 3<>"$folder/pipe"
exec 4>"$folder/pipe"
exec 3<&-
rm -rf "$folder"
exec "$@" >&4 4>&-
