#!/usr/bin/python3
"""Appends as Wendle does, once a second for SECONDS: open the day's file for
appending, one line, sync it to disk, close; the same line also into PRIVATE,
the record of what was logged.

append_lines.py FOLDER PRIVATE SECONDS
"""
import os, sys, time
folder, private, seconds = sys.argv[1], sys.argv[2], int(sys.argv[3])
os.makedirs(folder, exist_ok=True)
os.makedirs(private, exist_ok=True)
tick = int(time.time()) + 1
for _ in range(seconds):
    time.sleep(max(0, tick - time.time()))
    now = time.localtime(tick)
    for d in (folder, private):
        fd = os.open(os.path.join(d, time.strftime("%Y-%m-%d.log", now)), os.O_WRONLY | os.O_APPEND | os.O_CREAT, 0o644)
        os.write(fd, time.strftime("%H:%M:%S\r\n", now).encode())
        os.fsync(fd)
        os.close(fd)
    tick += 1
