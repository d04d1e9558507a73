#!/usr/bin/env python3
# A pseudo-terminal that never says anything, linked at PATH, for SECONDS. For measuring
# the program at rest. Usage: tools/idle-pty.py PATH [SECONDS]
import os, pty, sys, time
m, s = pty.openpty()
link = sys.argv[1]
try: os.unlink(link)
except FileNotFoundError: pass
os.symlink(os.ttyname(s), link)
time.sleep(float(sys.argv[2]) if len(sys.argv) > 2 else 3600)
