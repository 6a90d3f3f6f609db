#!/bin/sh
# Writes with one run, restarts the wineserver (which saves the registry to disk
# and forgets it), then reads with the next run.
#   restart.sh WINE_RUN PREFIX PROGRAM
set -eu
run=$1 prefix=$2 program=$3
"$run" "$prefix" "$program" --gtest_filter=Persistence.WritesTheRecordAndAResult
"$run" "$prefix" --stop
"$run" "$prefix" --start
"$run" "$prefix" "$program" --gtest_filter=Persistence.ReadsThemBackInTheNextRun
