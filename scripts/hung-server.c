/* A file server that never answers: every request about the folder it mounts waits for good, as
   on a hung SMB or NFS mount. scripts/check-lab.sh mounts it where the school's share would be.
   Usage: hung-server -f -o allow_other MOUNT_POINT (ended with SIGKILL, then umount -l). */
#define FUSE_USE_VERSION 31
#include <fuse.h>
#include <unistd.h>

static int hang(void)
{
    for (;;) pause();
    return 0;
}

static int hung_getattr(const char *path, struct stat *info, struct fuse_file_info *file)
{
    (void)path, (void)info, (void)file;
    return hang();
}
static int hung_access(const char *path, int mask) { (void)path, (void)mask; return hang(); }
static int hung_open(const char *path, struct fuse_file_info *file) { (void)path, (void)file; return hang(); }
static int hung_create(const char *path, mode_t mode, struct fuse_file_info *file)
{
    (void)path, (void)mode, (void)file;
    return hang();
}
static int hung_readdir(const char *path, void *buffer, fuse_fill_dir_t fill, off_t offset,
                        struct fuse_file_info *file, enum fuse_readdir_flags flags)
{
    (void)path, (void)buffer, (void)fill, (void)offset, (void)file, (void)flags;
    return hang();
}
static int hung_statfs(const char *path, struct statvfs *info) { (void)path, (void)info; return hang(); }

static const struct fuse_operations operations = {
    .getattr = hung_getattr,
    .access = hung_access,
    .open = hung_open,
    .opendir = hung_open,
    .create = hung_create,
    .readdir = hung_readdir,
    .statfs = hung_statfs,
};

int main(int argc, char *argv[]) { return fuse_main(argc, argv, &operations, NULL); }
