#!/bin/sh
# with_file_size_limit.sh BYTES COMMAND...: runs COMMAND unable to write any file past BYTES,
# as on a disk that fills up: a write past the limit fails (SIGXFSZ is ignored, so it does not
# kill the command instead).
trap '' XFSZ
ulimit -f $(( ($1 + 511) / 512 )) 2>/dev/null || ulimit -f 1
shift
exec "$@"
