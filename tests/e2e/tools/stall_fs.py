#!/usr/bin/python3
"""A pass-through file system whose writes wait while a flag file exists.

    stall_fs.py BACKING MOUNTPOINT FLAG

Mirrors BACKING at MOUNTPOINT (in the foreground, until unmounted). While
FLAG exists, every write waits for it to go, as a hard-mounted NFS or SMB
share keeps a writer waiting; FLAG.waiting then holds how many writes wait.
"""
import errno
import os
import sys
import threading
import time

from fusepy import FUSE, FuseOSError, Operations


class StallingFs(Operations):
    def __init__(self, backing, flag):
        self.backing = backing
        self.flag = flag
        self.waiting = 0
        self.counting = threading.Lock()

    def _full(self, path):
        return os.path.join(self.backing, path.lstrip("/"))

    def _count(self, change):
        with self.counting:
            self.waiting += change
            with open(self.flag + ".waiting.new", "w") as out:
                out.write("%d\n" % self.waiting)
            os.replace(self.flag + ".waiting.new", self.flag + ".waiting")

    def __call__(self, op, *args):
        try:
            return super().__call__(op, *args)
        except OSError as error:
            raise FuseOSError(error.errno or errno.EIO)

    def getattr(self, path, fh=None):
        st = os.lstat(self._full(path))
        return {key: getattr(st, key) for key in (
            "st_mode", "st_nlink", "st_uid", "st_gid", "st_size",
            "st_atime", "st_mtime", "st_ctime")}

    def readdir(self, path, fh):
        return [".", ".."] + os.listdir(self._full(path))

    def access(self, path, mode):
        if not os.access(self._full(path), mode):
            raise FuseOSError(errno.EACCES)

    def statfs(self, path):
        st = os.statvfs(self._full(path))
        return {key: getattr(st, key) for key in (
            "f_bavail", "f_bfree", "f_blocks", "f_bsize", "f_favail", "f_ffree",
            "f_files", "f_flag", "f_frsize", "f_namemax")}

    def mkdir(self, path, mode):
        os.mkdir(self._full(path), mode)

    def rmdir(self, path):
        os.rmdir(self._full(path))

    def unlink(self, path):
        os.unlink(self._full(path))

    def rename(self, old, new):
        os.rename(self._full(old), self._full(new))

    def chmod(self, path, mode):
        os.chmod(self._full(path), mode)

    def chown(self, path, uid, gid):
        os.chown(self._full(path), uid, gid)

    def utimens(self, path, times=None):
        os.utime(self._full(path), times)

    def truncate(self, path, length, fh=None):
        os.truncate(self._full(path), length)

    def open(self, path, flags):
        return os.open(self._full(path), flags)

    def create(self, path, mode, fi=None):
        return os.open(self._full(path), os.O_WRONLY | os.O_CREAT | os.O_APPEND, mode)

    def read(self, path, size, offset, fh):
        return os.pread(fh, size, offset)

    def write(self, path, data, offset, fh):
        if os.path.exists(self.flag):
            self._count(1)
            while os.path.exists(self.flag):
                time.sleep(0.05)
            self._count(-1)
        # The file was opened for appending when its writer asked for it.
        return os.pwrite(fh, data, offset)

    def flush(self, path, fh):
        return 0

    def fsync(self, path, datasync, fh):
        os.fsync(fh)
        return 0

    def release(self, path, fh):
        os.close(fh)
        return 0


if __name__ == "__main__":
    backing, mountpoint, flag = sys.argv[1:4]
    FUSE(StallingFs(os.path.abspath(backing), os.path.abspath(flag)), mountpoint,
         foreground=True, nothreads=False)
