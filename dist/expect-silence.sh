#!/bin/sh
# Runs a checker and fails when it fails or says anything at all: some checkers report their
# warnings with a status of 0.
out=$("$@" 2>&1)
status=$?
[ -n "$out" ] && printf '%s\n' "$out"
[ "$status" -eq 0 ] && [ -z "$out" ]
