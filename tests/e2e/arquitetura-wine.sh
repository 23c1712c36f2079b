#!/bin/sh
# Prints the Windows architecture whose programs Wine can run here: i686 where this
# computer runs 32-bit programs, x86_64 where it cannot (a kernel without 32-bit support).
if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo i686; else echo x86_64; fi
