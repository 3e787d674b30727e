// SPDX-License-Identifier: MIT
/* The least a program can do to write an image of blankimg's layout: create
 * the file new, make the same 1,127 writes of the same sizes, flush to
 * storage and close. It checks every call, prints nothing and computes no
 * content: the bytes are zeros. */
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

enum {
    sector = 512,
    fat_copy = 1024,
    dir_entry = 32,
    fat_count = 2,
    root_entries = 112,
    data_sectors = 500,
    tail_sectors = 512
};

static unsigned char block[fat_copy];

static void put(int fd, size_t length) {
    if (write(fd, block, length) != (ssize_t)length) {
        exit(1);
    }
}

int main(void) {
    const int fd = open("BLANKIMG.ROM", O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return 1;
    }
    put(fd, sector); /* boot sector */
    for (int i = 0; i < fat_count; ++i) {
        put(fd, fat_copy);
    }
    for (int i = 0; i < root_entries; ++i) {
        put(fd, dir_entry);
    }
    for (int i = 0; i < data_sectors + tail_sectors; ++i) {
        put(fd, sector);
    }
    if (fsync(fd) != 0 || close(fd) != 0) {
        return 1;
    }
    return 0;
}
