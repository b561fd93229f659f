#pragma once

#include <cstdlib>
#include <cstring>
#include <string>

// Row counts a benchmark is run at, read from "--name=N" on the command line before the
// benchmark library sees the arguments; the default when not given.
inline long long TakeBenchSize(int& argc, char** argv, const char* name, long long fallback) {
    const std::string prefix = std::string("--") + name + "=";
    long long value = fallback;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) == 0) {
            value = std::atoll(argv[i] + prefix.size());
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return value > 0 ? value : fallback;
}
