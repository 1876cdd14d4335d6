#include "FileSizeLimit.h"

#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int runWithFileSizeLimit(qint64 maxBytes, const std::function<int()>& work)
{
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        const rlimit limit{rlim_t(maxBytes), rlim_t(maxBytes)};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            _exit(120);
        std::signal(SIGXFSZ, SIG_IGN);
        _exit(work());
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}
