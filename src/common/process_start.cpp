#include "common/process_start.h"

#include <fcntl.h>
#include <cerrno>
#include <csignal>

namespace zarame {

bool PrepareProcess() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        // The lowest free descriptor is the one just found closed, since those below it are open.
        if (::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd) {
            return false;
        }
    }
    std::signal(SIGXFSZ, SIG_IGN);
    return true;
}

}  // namespace zarame
