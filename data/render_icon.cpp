// Writes the program's clock icon as a PNG of the given size, so that the
// installed icons are the very pictures the running program shows.
#include "ui/pictures.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: render_icon SIZE OUT.png\n");
        return 2;
    }
    const int size = std::atoi(argv[1]);
    return size > 0 && wendle::clockImage(size).save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0
                                                                                             : 1;
}
